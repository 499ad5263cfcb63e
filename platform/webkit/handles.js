// The handles of the selected object: a frame with eight handles laid over
// the page, outside its markup, that resize the object; a positioned box is
// also moved by its frame or its body. The object follows the pointer while
// it is dragged, and the result is written once, at release, as one step of
// the undo history.
(function () {
    'use strict';
    const T = window.__tavrisk;
    if (!T || !T.layer || T.handles)
        return;
    const L = T.layer;

    const HANDLE = 9;
    const cursors = {nw: 'nwse-resize', se: 'nwse-resize', ne: 'nesw-resize', sw: 'nesw-resize',
        n: 'ns-resize', s: 'ns-resize', e: 'ew-resize', w: 'ew-resize'};

    const layer = L.addLayer('tavrisk-handles');
    const sheet = document.createElement('style');
    sheet.textContent =
        '.frame { position: absolute; box-sizing: border-box; border: 1px solid #1a5fb4;' +
        ' pointer-events: none; }' +
        '.edge { position: absolute; cursor: move; }' +
        '.handle { position: absolute; box-sizing: border-box; width: ' + HANDLE + 'px;' +
        ' height: ' + HANDLE + 'px; background: #ffffff; border: 1px solid #1a5fb4; }' +
        '.shield { position: fixed; left: 0; top: 0; right: 0; bottom: 0; }' +
        '.tip { position: absolute; padding: 1px 4px; font: 11px sans-serif; color: #ffffff;' +
        ' background: #1a5fb4; white-space: nowrap; pointer-events: none; }' +
        '@media print { div { display: none !important; } }';
    layer.root.appendChild(sheet);

    function part(cls) {
        const el = document.createElement('div');
        el.className = cls;
        layer.root.appendChild(el);
        return el;
    }

    const frame = part('frame');
    const edges = ['n', 's', 'e', 'w'].map(function (side) {
        const el = part('edge');
        el.dataset.side = side;
        return el;
    });
    const handles = Object.keys(cursors).map(function (which) {
        const el = part('handle');
        el.dataset.which = which;
        el.style.cursor = cursors[which];
        return el;
    });
    const tip = part('tip');
    const shield = part('shield');

    let shown = null;
    let drag = null;

    function hide() {
        shown = null;
        layer.host.remove();
    }

    function setBox(el, left, top, width, height) {
        el.style.left = left + 'px';
        el.style.top = top + 'px';
        el.style.width = width + 'px';
        el.style.height = height + 'px';
    }

    function place() {
        const el = drag ? drag.el : L.control();
        if (!el || !el.isConnected || !L.editable()) {
            hide();
            return;
        }
        shown = el;
        L.showLayer(layer);
        const r = el.getBoundingClientRect();
        const left = r.left + scrollX;
        const top = r.top + scrollY;
        setBox(frame, left, top, r.width, r.height);
        const xs = {w: left, e: left + r.width};
        const ys = {n: top, s: top + r.height};
        const half = HANDLE / 2;
        for (const h of handles) {
            // Without live resizing the frame shows the selection only.
            h.style.display = T.liveResize ? '' : 'none';
            const which = h.dataset.which;
            const x = which.includes('w') ? xs.w : which.includes('e') ? xs.e : left + r.width / 2;
            const y = which.includes('n') ? ys.n : which.includes('s') ? ys.s : top + r.height / 2;
            h.style.left = (x - half) + 'px';
            h.style.top = (y - half) + 'px';
        }
        // Only a positioned box is moved by its frame.
        const movable = T.position2D && L.isPositioned(el);
        const strip = 6;
        for (const edge of edges) {
            edge.style.display = movable ? '' : 'none';
            const side = edge.dataset.side;
            if (side === 'n' || side === 's')
                setBox(edge, left, ys[side] - strip / 2, r.width, strip);
            else
                setBox(edge, xs[side] - strip / 2, top, strip, r.height);
        }
        const showTip = drag && drag.moved;
        tip.style.display = showTip ? '' : 'none';
        if (showTip) {
            tip.textContent = drag.kind === 'move' ? Math.round(drag.now.left) + ', ' +
                Math.round(drag.now.top) : Math.round(drag.now.width) + ' \u00d7 ' +
                Math.round(drag.now.height);
            tip.style.left = (left + r.width + 4) + 'px';
            tip.style.top = (top + r.height + 4) + 'px';
        }
        shield.style.display = drag ? '' : 'none';
        shield.style.cursor = drag ? drag.cursor : '';
    }

    function inside(el, x, y) {
        if (el.style.display === 'none')
            return false;
        const r = el.getBoundingClientRect();
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    }

    // The attributes a resize or a move writes, as they stand.
    function snapshot(el) {
        const s = {};
        for (const name of ['width', 'height', 'style'])
            s[name] = el.getAttribute(name);
        return s;
    }

    function restore(el, s) {
        for (const name of Object.keys(s)) {
            if (s[name] === null)
                el.removeAttribute(name);
            else
                el.setAttribute(name, s[name]);
        }
    }

    const sizedByAttribute = new Set(['img', 'table', 'object', 'embed', 'iframe', 'applet']);

    // The size the width and height attributes or properties mean: a table's
    // border box, the content box of anything else.
    function sizeOf(el) {
        const r = el.getBoundingClientRect();
        if (el.tagName.toLowerCase() === 'table')
            return {width: r.width, height: r.height};
        const cs = getComputedStyle(el);
        const px = function (name) { return parseFloat(cs[name]) || 0; };
        const border = cs.boxSizing === 'border-box';
        return {
            width: border ? r.width : r.width - px('paddingLeft') - px('paddingRight') -
                px('borderLeftWidth') - px('borderRightWidth'),
            height: border ? r.height : r.height - px('paddingTop') - px('paddingBottom') -
                px('borderTopWidth') - px('borderBottomWidth'),
        };
    }

    function writeSize(el, name, value) {
        const text = String(Math.max(1, Math.round(value)));
        if (sizedByAttribute.has(el.tagName.toLowerCase()) && !el.style[name])
            el.setAttribute(name, text);
        else
            el.style[name] = text + 'px';
    }

    // Applies the drag's state to its object.
    function apply(d) {
        const el = d.el;
        if (d.kind === 'move' || d.which.includes('w') || d.which.includes('n')) {
            if (L.isPositioned(el)) {
                el.style.left = Math.round(d.now.left) + 'px';
                el.style.top = Math.round(d.now.top) + 'px';
            }
        }
        if (d.kind !== 'resize')
            return;
        if (d.which.includes('e') || d.which.includes('w'))
            writeSize(el, 'width', d.now.width);
        if (d.which.includes('n') || d.which.includes('s'))
            writeSize(el, 'height', d.now.height);
    }

    function begin(kind, el, e, which) {
        const size = sizeOf(el);
        drag = {kind: kind, el: el, which: which || '', x: e.clientX, y: e.clientY,
            before: snapshot(el), moved: false, caretOnClick: false,
            start: {left: el.offsetLeft, top: el.offsetTop, width: size.width, height: size.height},
            cursor: kind === 'move' ? 'move' : cursors[which]};
        drag.now = Object.assign({}, drag.start);
        e.preventDefault();
        L.schedule();
        return true;
    }

    function follow(d, dx, dy) {
        const s = d.start;
        const now = {left: s.left, top: s.top, width: s.width, height: s.height};
        if (d.kind === 'move') {
            now.left = s.left + dx;
            now.top = s.top + dy;
        } else {
            if (d.which.includes('e'))
                now.width = s.width + dx;
            if (d.which.includes('w')) {
                now.width = s.width - dx;
                now.left = s.left + dx;
            }
            if (d.which.includes('s'))
                now.height = s.height + dy;
            if (d.which.includes('n')) {
                now.height = s.height - dy;
                now.top = s.top + dy;
            }
            now.width = Math.max(1, now.width);
            now.height = Math.max(1, now.height);
        }
        d.now = now;
    }

    // The text of a positioned box is edited once the caret is in it; until
    // then a press on its body takes the box.
    function editingInside(box) {
        const s = getSelection();
        return L.control() === null && s && s.rangeCount > 0 && box.contains(s.anchorNode);
    }

    function positionedBoxAt(target) {
        for (let el = target; el && el !== document.body; el = el.parentElement) {
            if (el instanceof Element && L.isPositioned(el))
                return el;
        }
        return null;
    }

    T.handles = {
        place: place,
        // A press anywhere in the page, before the engine sees it; true when
        // the handle layer takes it.
        press: function (e) {
            drag = null;
            const x = e.clientX;
            const y = e.clientY;
            if (shown && layer.host.isConnected) {
                if (T.liveResize) {
                    const h = handles.find(function (h) { return inside(h, x, y); });
                    if (h)
                        return begin('resize', shown, e, h.dataset.which);
                }
                if (T.position2D && edges.some(function (edge) { return inside(edge, x, y); }))
                    return begin('move', shown, e);
            }
            if (!T.position2D || !(e.target instanceof Element))
                return false;
            const box = positionedBoxAt(e.target);
            if (!box || box === e.target.closest('img,table,hr,input,textarea,select,button') ||
                editingInside(box) || L.positionedEdge(e.target, x, y))
                return false;
            L.select(box);
            begin('move', box, e);
            drag.caretOnClick = true;
            return true;
        },
        // An object selected by a press: a positioned one follows the pointer.
        objectPressed: function (el, e) {
            if (T.position2D && L.isPositioned(el))
                begin('move', el, e);
        },
    };

    window.addEventListener('mousemove', function (e) {
        if (!drag)
            return;
        e.preventDefault();
        const dx = e.clientX - drag.x;
        const dy = e.clientY - drag.y;
        if (!drag.moved && Math.abs(dx) + Math.abs(dy) < 3)
            return;
        drag.moved = true;
        follow(drag, dx, dy);
        apply(drag);
        place();
    }, true);

    window.addEventListener('mouseup', function (e) {
        const d = drag;
        drag = null;
        if (!d)
            return;
        e.preventDefault();
        // The shield over the page goes first: the caret is found under it.
        shield.style.display = 'none';
        if (d.moved) {
            // The drag showed the way; the object is written once, from where it started.
            restore(d.el, d.before);
            apply(d);
            history.record(d.el, d.before, snapshot(d.el));
        } else if (d.caretOnClick) {
            // A click on a box's body puts the caret there, to edit its text.
            const r = document.caretRangeFromPoint(e.clientX, e.clientY);
            L.forget();
            if (r) {
                getSelection().removeAllRanges();
                getSelection().addRange(r);
            }
        }
        place();
    }, true);

    // Nothing the engine would drag starts from a handle or a selected object.
    window.addEventListener('dragstart', function (e) {
        if (drag || (shown && L.control() !== null))
            e.preventDefault();
    }, true);

    // One history for the engine's edits and the layer's own changes: the
    // engine keeps its steps, the layer says whose turn an undo or redo is.
    const history = {
        done: [],
        undone: [],
        push: function (step) {
            this.done.push(step);
            this.undone.length = 0;
            if (this.done.length > 5000)
                this.done.shift();
        },
        record: function (el, before, after) {
            this.push({el: el, before: before, after: after});
        },
        // True when the step was the layer's and has been taken back here.
        step: function (from, to, state) {
            if (!from.length)
                return false;
            const s = from.pop();
            to.push(s);
            if (!s)
                return false;
            if (s.el.isConnected)
                restore(s.el, s[state]);
            L.schedule();
            return true;
        },
        undo: function () { return this.step(this.done, this.undone, 'before'); },
        redo: function () { return this.step(this.undone, this.done, 'after'); },
    };
    T.history = history;

    document.addEventListener('input', function (e) {
        if (!/^history/.test(e.inputType || ''))
            history.push(null);
    }, true);

    window.addEventListener('keydown', function (e) {
        if (!(e.ctrlKey || e.metaKey) || !L.editable())
            return;
        const key = e.key.toLowerCase();
        const redo = key === 'y' || (key === 'z' && e.shiftKey);
        if ((key === 'z' || redo) && (redo ? history.redo() : history.undo()))
            e.preventDefault();
    }, true);
})();
