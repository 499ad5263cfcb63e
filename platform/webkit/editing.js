// The editing layer injected into every page the browser shows. The program
// calls window.__tavrisk.dispatch(request) and gets {ok, v} or {ok: false,
// e}; events go back through the "tavrisk" message handler. It supplies the
// selection model, command values and editor commands the editing tools are
// written against where the engine behaves otherwise.
(function () {
    'use strict';
    if (window.__tavrisk)
        return;

    function post(message) {
        try {
            window.webkit.messageHandlers.tavrisk.postMessage(message);
        } catch (e) {
            // No handler (a page shown outside the program): nothing to tell.
        }
    }

    // Frames only report their completion; the program works on the top page.
    if (window !== window.top) {
        window.addEventListener('load', function () {
            post({k: 'frame', url: String(location.href)});
        });
        return;
    }

    const T = {};
    window.__tavrisk = T;
    T.token = Math.random().toString(36).slice(2) + '-' + Date.now().toString(36);

    // Element handles: one number per node, valid while the node is in the page.
    let nextId = 1;
    const nodes = new Map();
    const ids = new WeakMap();

    function handle(el) {
        if (!el || el.nodeType !== 1)
            return null;
        let id = ids.get(el);
        if (!id) {
            id = nextId++;
            ids.set(el, id);
            nodes.set(id, el);
        }
        return {el: id, tag: el.tagName.toUpperCase()};
    }

    function node(id) {
        const n = nodes.get(id);
        if (!n)
            throw new Error('The element does not belong to the document shown');
        if (!n.isConnected)
            throw new Error('The element has been removed from the document');
        return n;
    }

    // Ranges taken by createRange, kept for the calls on them.
    let nextRange = 1;
    const ranges = new Map();

    function keepRange(r) {
        const id = nextRange++;
        ranges.set(id, r);
        if (ranges.size > 500)
            ranges.delete(ranges.keys().next().value);
        return {range: id, kind: r.kind};
    }

    function rangeOf(id, kind) {
        const r = ranges.get(id);
        if (!r)
            throw new Error('The range is no longer known');
        if (kind && r.kind !== kind)
            throw new Error("Object doesn't support this property or method");
        return r;
    }

    // Control selection: an image, a form control, a rule or a table hit on
    // its border is selected as one object.
    const controlTags = new Set(['img', 'hr', 'input', 'textarea', 'select', 'button', 'object',
        'embed', 'iframe', 'table']);
    let control = null;
    T.position2D = false;
    T.liveResize = false;

    function editable() {
        return document.designMode === 'on' || (document.body && document.body.isContentEditable);
    }

    function selectNode(el) {
        const s = getSelection();
        const r = document.createRange();
        r.selectNode(el);
        s.removeAllRanges();
        s.addRange(r);
    }

    function controlStillSelected() {
        if (!control || !control.isConnected)
            return false;
        const s = getSelection();
        if (!s || s.rangeCount === 0)
            return false;
        const r = s.getRangeAt(0);
        const parent = control.parentNode;
        const index = Array.prototype.indexOf.call(parent.childNodes, control);
        return r.startContainer === parent && r.endContainer === parent &&
            r.startOffset === index && r.endOffset === index + 1;
    }

    function isPositioned(el) {
        return getComputedStyle(el).position === 'absolute';
    }

    // A positioned box (a free text box) is taken as an object when it is
    // pressed on its edge; inside, its text is edited as text.
    function positionedEdge(target, x, y) {
        for (let el = target; el && el !== document.body; el = el.parentElement) {
            if (!(el instanceof Element) || !isPositioned(el))
                continue;
            const box = el.getBoundingClientRect();
            const edge = 5;
            if (x - box.left < edge || box.right - x < edge || y - box.top < edge ||
                box.bottom - y < edge)
                return el;
            return null;
        }
        return null;
    }

    function objectAt(e) {
        const t = e.target;
        if (!(t instanceof Element))
            return null;
        if (controlTags.has(t.tagName.toLowerCase()))
            return t;
        return positionedEdge(t, e.clientX, e.clientY);
    }

    // Resizing and moving objects belong to the handle layer (handles.js),
    // which sees every press first.
    window.addEventListener('mousedown', function (e) {
        if (!editable() || e.button !== 0) {
            control = null;
            return;
        }
        if (T.handles && T.handles.press(e))
            return;
        const object = objectAt(e);
        if (!object) {
            // A press inside the selected object edits its content: with the
            // object still selected the engine would start dragging it.
            if (controlStillSelected() && control.contains(e.target))
                getSelection().removeAllRanges();
            control = null;
            return;
        }
        control = object;
        e.preventDefault();
        selectNode(object);
        if (T.handles)
            T.handles.objectPressed(object, e);
    }, true);

    function selectionType() {
        if (controlStillSelected())
            return 'Control';
        control = null;
        const s = getSelection();
        if (!s || s.rangeCount === 0 || s.isCollapsed)
            return 'None';
        return 'Text';
    }

    function currentTextRange() {
        const s = getSelection();
        if (s && s.rangeCount > 0)
            return s.getRangeAt(0).cloneRange();
        const r = document.createRange();
        r.setStart(document.body || document.documentElement, 0);
        r.collapse(true);
        return r;
    }

    function createRange() {
        if (selectionType() === 'Control')
            return keepRange({kind: 'control', el: control});
        return keepRange({kind: 'text', range: currentTextRange()});
    }

    function elementOf(n) {
        return n && n.nodeType === 1 ? n : (n ? n.parentElement : null);
    }

    // The text nodes of which the range holds at least one character.
    function textInRange(range) {
        const root = range.commonAncestorContainer;
        if (root.nodeType === 3)
            return [root];
        const found = [];
        const walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
        for (let t = walker.nextNode(); t; t = walker.nextNode()) {
            if (!range.intersectsNode(t))
                continue;
            const from = t === range.startContainer ? range.startOffset : 0;
            const to = t === range.endContainer ? range.endOffset : t.data.length;
            if (to > from)
                found.push(t);
        }
        return found;
    }

    // As the editor of the original model does, a boundary at the very end
    // or start of a text node does not widen the range: a word selected by
    // the mouse, or just made a link, is inside its own element.
    function innermostAround(range) {
        const texts = textInRange(range);
        if (texts.length === 0)
            return null;
        const inner = document.createRange();
        inner.setStartBefore(texts[0]);
        inner.setEndAfter(texts[texts.length - 1]);
        return elementOf(inner.commonAncestorContainer);
    }

    function rangeParent(r) {
        const range = r.range;
        if (!range.collapsed) {
            const inner = innermostAround(range);
            if (inner)
                return inner;
        }
        let n = range.commonAncestorContainer;
        // A range around exactly one element names that element.
        if (n.nodeType === 1 && range.endOffset === range.startOffset + 1 &&
            range.startContainer === n && n.childNodes[range.startOffset].nodeType === 1)
            return n.childNodes[range.startOffset];
        return elementOf(n);
    }

    function pasteHTML(r, html) {
        const range = r.range;
        if (!range.startContainer.isConnected)
            throw new Error('The range is no longer in the document');
        range.deleteContents();
        const fragment = range.createContextualFragment(String(html));
        const last = fragment.lastChild;
        range.insertNode(fragment);
        if (last) {
            range.setStartAfter(last);
            range.collapse(true);
        }
        const s = getSelection();
        s.removeAllRanges();
        s.addRange(range.cloneRange());
    }

    // Text nodes the selection covers, for values that must agree over all.
    function selectedTextNodes() {
        const s = getSelection();
        if (!s || s.rangeCount === 0)
            return [];
        const range = s.getRangeAt(0);
        if (range.collapsed)
            return [range.startContainer];
        const root = range.commonAncestorContainer;
        if (root.nodeType === 3)
            return [root];
        const found = [];
        const walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
        for (let t = walker.nextNode(); t; t = walker.nextNode()) {
            if (range.intersectsNode(t) && t.data.trim() !== '')
                found.push(t);
        }
        return found.length ? found : [range.startContainer];
    }

    function uniform(read) {
        let value;
        let first = true;
        for (const n of selectedTextNodes()) {
            const el = elementOf(n);
            if (!el)
                continue;
            const v = read(el);
            if (first) {
                value = v;
                first = false;
            } else if (v !== value) {
                return null;
            }
        }
        return first ? null : value;
    }

    function faceOf(el) {
        const family = getComputedStyle(el).fontFamily.replace(/["']/g, '');
        return family === '-webkit-standard' ? 'Times New Roman' : family;
    }

    const legacyPixels = [10, 13, 16, 18, 24, 32, 48];

    function legacySize(el) {
        const px = parseFloat(getComputedStyle(el).fontSize);
        let best = 1;
        for (let i = 0; i < legacyPixels.length; i++) {
            if (Math.abs(legacyPixels[i] - px) < Math.abs(legacyPixels[best - 1] - px))
                best = i + 1;
        }
        return best;
    }

    // Colors as numbers with red in the low byte.
    function colorNumber(css) {
        const m = /rgba?\((\d+),\s*(\d+),\s*(\d+)/.exec(css);
        return m ? Number(m[1]) + Number(m[2]) * 256 + Number(m[3]) * 65536 : null;
    }

    function backgroundOf(el) {
        for (let e = el; e; e = e.parentElement) {
            const css = getComputedStyle(e).backgroundColor;
            if (!/rgba\(.*,\s*0\)$/.test(css) && css !== 'transparent')
                return colorNumber(css);
        }
        return 0xffffff;
    }

    function queryValue(command) {
        switch (String(command).toLowerCase()) {
        case 'bold':
        case 'italic':
        case 'underline':
        case 'strikethrough':
        case 'subscript':
        case 'superscript':
        case 'justifyleft':
        case 'justifycenter':
        case 'justifyright':
        case 'insertorderedlist':
        case 'insertunorderedlist':
            return document.queryCommandState(command);
        case 'fontname':
            return uniform(faceOf);
        case 'fontsize':
            return uniform(legacySize);
        case 'forecolor':
            return uniform(function (el) { return colorNumber(getComputedStyle(el).color); });
        case 'backcolor':
            return uniform(backgroundOf);
        default:
            return document.queryCommandValue(command);
        }
    }

    function truthy(v) {
        return v === true || v === 'true' || (typeof v === 'number' && v !== 0);
    }

    // "+2" and "-1" are relative to the normal size 3.
    function legacySizeText(v) {
        const text = String(v).trim();
        const n = parseInt(text, 10);
        if (isNaN(n))
            return text;
        const size = /^[+-]/.test(text) ? 3 + n : n;
        return String(Math.min(7, Math.max(1, size)));
    }

    function colorText(v) {
        if (typeof v !== 'number')
            return String(v);
        const hex = function (b) { return ('0' + (b & 255).toString(16)).slice(-2); };
        return '#' + hex(v) + hex(v >> 8) + hex(v >> 16);
    }

    function absolutePosition(on) {
        const el = selectionType() === 'Control' ? control :
            elementOf(currentTextRange().commonAncestorContainer);
        if (!el || el === document.body || el === document.documentElement)
            return false;
        if (on) {
            const left = el.offsetLeft;
            const top = el.offsetTop;
            el.style.position = 'absolute';
            el.style.left = left + 'px';
            el.style.top = top + 'px';
        } else {
            el.style.removeProperty('position');
            el.style.removeProperty('left');
            el.style.removeProperty('top');
            if (el.getAttribute('style') === '')
                el.removeAttribute('style');
        }
        return true;
    }

    // As in the original editor, "Unlink" with only a caret in a link
    // takes that whole link away.
    function selectLinkAroundCaret() {
        const s = getSelection();
        if (!s || s.rangeCount === 0 || !s.isCollapsed)
            return;
        const link = elementOf(s.anchorNode) && elementOf(s.anchorNode).closest('a[href]');
        if (!link)
            return;
        const r = document.createRange();
        r.selectNodeContents(link);
        s.removeAllRanges();
        s.addRange(r);
    }

    function execute(command, value) {
        const name = String(command).toLowerCase();
        // The layer's own changes (a resize, a move) take their turn in the
        // engine's undo history.
        if ((name === 'undo' || name === 'redo') && T.history && T.history[name]())
            return true;
        switch (name) {
        case '2d-position':
            T.position2D = truthy(value);
            return true;
        case 'liveresize':
            T.liveResize = truthy(value);
            return true;
        case 'absoluteposition':
            return absolutePosition(truthy(value));
        case 'fontsize':
            value = legacySizeText(value);
            break;
        case 'forecolor':
        case 'backcolor':
        case 'hilitecolor':
            value = colorText(value);
            break;
        case 'unlink':
            selectLinkAroundCaret();
            break;
        }
        const text = (value === null || value === undefined || typeof value === 'boolean') ? '' :
            String(value);
        // An object stays selected through a command (linking an image, say).
        const object = selectionType() === 'Control' ? control : null;
        const done = document.execCommand(name, false, text);
        if (object && object.isConnected) {
            control = object;
            selectNode(object);
        }
        return done;
    }

    // Event sinks of the program, by number.
    const propertyHandlers = new Map();

    function eventType(name) {
        return String(name).toLowerCase().replace(/^on/, '');
    }

    // A press on a handle reports the object the handle belongs to.
    function eventSource(e) {
        const t = e.target instanceof Element ? e.target : e.target.parentElement;
        return layers.includes(t) ? (T.layer.control() || document.body) : t;
    }

    // The selection's state at once: its type, the element it lies in with
    // its ancestors, and the values of the commands the program last asked
    // for. Events carry it too, so that a click costs the program no call
    // into a page that may still be busy with the click.
    let snapshotCommands = null;

    function snapshot(commands) {
        if (commands)
            snapshotCommands = commands.map(String);
        const type = selectionType();
        const chain = [];
        const hrefs = [];
        let el = type === 'Control' ? control : rangeParent({range: currentTextRange()});
        for (; el; el = el.parentElement) {
            chain.push(handle(el));
            hrefs.push(attr(el, 'href', 0));
        }
        const values = {};
        const errors = {};
        // An object's click shows its panel, not the text toolbar: reading
        // the text values around a selected table would walk the whole page.
        for (const c of type === 'Control' ? [] : snapshotCommands || []) {
            try {
                values[c] = queryValue(c);
            } catch (e) {
                errors[c] = String(e && e.message ? e.message : e);
            }
        }
        return {type: type, chain: chain, hrefs: hrefs, values: values, errors: errors};
    }

    // The selection kept while the user types into the bar, which may take
    // it from the page; forgotten when the user works in the page again.
    let savedSelection = null;

    function forgetSavedSelection() {
        savedSelection = null;
    }
    window.addEventListener('mousedown', forgetSavedSelection, true);
    window.addEventListener('keydown', forgetSavedSelection, true);

    function saveSelection() {
        const s = getSelection();
        savedSelection = s && s.rangeCount > 0 ? {range: s.getRangeAt(0).cloneRange(),
            control: selectionType() === 'Control' ? control : null} : null;
    }

    function restoreSelection() {
        if (!savedSelection || !savedSelection.range.startContainer.isConnected)
            return;
        if (savedSelection.control && savedSelection.control.isConnected) {
            control = savedSelection.control;
            selectNode(control);
            return;
        }
        const s = getSelection();
        s.removeAllRanges();
        s.addRange(savedSelection.range.cloneRange());
    }

    function forward(sink) {
        return function (e) {
            const message = {k: 'event', sink: sink, type: e.type, src: handle(eventSource(e)),
                token: T.token};
            if (snapshotCommands && editable())
                message.snap = snapshot();
            post(message);
        };
    }

    function attach(name, sink) {
        document.addEventListener(eventType(name), forward(sink), false);
        return true;
    }

    function setProperty(name, sink) {
        const type = eventType(name);
        const earlier = propertyHandlers.get(type);
        if (earlier)
            document.removeEventListener(type, earlier, false);
        propertyHandlers.delete(type);
        if (sink) {
            const f = forward(sink);
            propertyHandlers.set(type, f);
            document.addEventListener(type, f, false);
        }
    }

    // Live collections, described by where they come from.
    function collect(d) {
        switch (d.k) {
        case 'all':
            return Array.from(document.getElementsByTagName('*')).filter(function (e) {
                return !layers.includes(e);
            });
        case 'tags': {
            const tag = String(d.tag).toLowerCase();
            return collect(d.of).filter(function (e) { return e.tagName.toLowerCase() === tag; });
        }
        case 'rows':
            return Array.from(node(d.el).rows);
        case 'cells':
            return Array.from(node(d.el).cells);
        }
        throw new Error('Unknown collection');
    }

    // Glyph pictures and outlines of zero-border tables, in a style sheet of
    // their own that never becomes part of the page's markup.
    const glyphSheet = new CSSStyleSheet();
    const glyphs = [];
    let zeroBorders = false;
    document.adoptedStyleSheets = document.adoptedStyleSheets.concat([glyphSheet]);

    const zeroBorderRule = ['table:not([border])', 'table[border="0"]',
        'table:not([border]) td', 'table[border="0"] td'].join(', ') +
        ' { outline: 1px dotted #808080; outline-offset: -1px; }';

    function renderGlyphs() {
        glyphSheet.replaceSync(zeroBorders ? zeroBorderRule : '');
        placeGlyphs();
    }

    // Elements of the editing layer laid over the page after the body: the
    // markup, `all` and saving never show them.
    const layers = [];

    function addLayer(name, style) {
        const host = document.createElement(name);
        host.setAttribute('style', 'position:absolute;left:0;top:0;width:0;height:0;' +
            'overflow:visible;z-index:2147483647;' + (style || ''));
        layers.push(host);
        return {host: host, root: host.attachShadow({mode: 'closed'})};
    }

    function showLayer(layer) {
        if (!layer.host.isConnected && document.documentElement)
            document.documentElement.appendChild(layer.host);
    }

    function withoutOverlay(read) {
        const shown = layers.filter(function (l) { return l.isConnected; });
        const parents = shown.map(function (l) { return l.parentNode; });
        shown.forEach(function (l) { l.remove(); });
        try {
            return read();
        } finally {
            shown.forEach(function (l, i) { parents[i].appendChild(l); });
        }
    }

    // Glyph pictures are laid over the page at the start of their element,
    // so they change no box: sizes read while editing are the page's own.
    const glyphLayer = addLayer('tavrisk-glyphs', 'pointer-events:none');

    // At the start of the element, or at its end for a closing tag's glyph.
    function glyphPlace(el, closing) {
        if (el.tagName.toLowerCase() === 'br') {
            // A break's own box is the end of the line it ends.
            const box = el.getBoundingClientRect();
            return {left: box.left, top: box.top + Math.max(0, (box.height - 11) / 2)};
        }
        const boxes = el.getClientRects();
        if (!boxes.length)
            return null;
        const box = closing ? boxes[boxes.length - 1] : boxes[0];
        return {left: closing ? box.right : box.left, top: box.top};
    }

    // Where the element's picture goes, in page coordinates; no place for
    // an element that is not drawn.
    function glyphSpot(el, glyph) {
        const at = glyphPlace(el, glyph.closing);
        return {el: el, glyph: glyph, left: at ? at.left + scrollX : null,
            top: at ? at.top + scrollY : null};
    }

    function sameSpot(a, b) {
        return a.glyph === b.glyph && a.left === b.left && a.top === b.top;
    }

    function glyphSpots() {
        const spots = [];
        for (const glyph of glyphs) {
            for (const el of document.body.getElementsByTagName(glyph.tag))
                spots.push(glyphSpot(el, glyph));
        }
        return spots;
    }

    // Every glyph element with its spot, as last placed, and the spots that
    // have a picture, in the layer's order. Only the spots near the view get
    // one: a big page has tens of thousands, and each picture is a box the
    // engine goes through on every click.
    let placed = [];
    let shown = [];

    function nearView(s) {
        return s.left !== null && s.top >= scrollY - innerHeight &&
            s.top <= scrollY + 2 * innerHeight && s.left >= scrollX - innerWidth &&
            s.left <= scrollX + 2 * innerWidth;
    }

    function showGlyphsNearView() {
        const near = placed.filter(nearView);
        const pictures = glyphLayer.root.children;
        for (let i = 0; i < near.length; ++i) {
            const s = near[i];
            const was = shown[i];
            if (was && sameSpot(was, s))
                continue;
            let img = pictures[i];
            if (!img) {
                img = document.createElement('img');
                glyphLayer.root.appendChild(img);
            }
            if (!was || was.glyph !== s.glyph)
                img.src = s.glyph.picture;
            img.setAttribute('style', 'position:absolute;width:11px;height:11px;left:' + s.left +
                'px;top:' + s.top + 'px');
        }
        while (pictures.length > near.length)
            pictures[pictures.length - 1].remove();
        shown = near;
    }

    function placeGlyphs() {
        if (!glyphs.length || !document.body) {
            glyphLayer.host.remove();
            glyphLayer.root.replaceChildren();
            placed = shown = [];
            return;
        }
        showLayer(glyphLayer);
        placed = glyphSpots();
        showGlyphsNearView();
    }

    // What the next frame does: the glyphs follow the page's boxes or only
    // the view, the handles the selected object.
    const due = {glyphs: false, view: false, handles: false};
    let frameAsked = false;

    function placeLayers() {
        frameAsked = false;
        if (due.glyphs && glyphs.length)
            placeGlyphs();
        else if (due.view && glyphs.length)
            showGlyphsNearView();
        if (due.handles && T.handles)
            T.handles.place();
        due.glyphs = due.view = due.handles = false;
    }

    function schedule(what) {
        due[what] = true;
        if (frameAsked)
            return;
        frameAsked = true;
        requestAnimationFrame(placeLayers);
    }

    // Anything that may move a box: edits, pictures and fonts arriving,
    // scrolling inside the page, a new window size.
    function schedulePlacing() {
        schedule('glyphs');
        schedule('handles');
    }

    new MutationObserver(schedulePlacing).observe(document, {childList: true, subtree: true,
        characterData: true, attributes: true});
    window.addEventListener('resize', schedulePlacing);
    window.addEventListener('load', schedulePlacing, true);
    // Both layers are in page coordinates: scrolling the page itself moves
    // no box, only which glyphs are near the view; scrolling a box inside
    // the page moves what it holds.
    document.addEventListener('scroll', function (e) {
        if (e.target === document)
            schedule('view');
        else
            schedulePlacing();
    }, true);
    // A new selection moves no box; only the handles follow it.
    document.addEventListener('selectionchange', function () { schedule('handles'); });
    if (document.fonts)
        document.fonts.addEventListener('loadingdone', schedulePlacing);
    document.addEventListener('DOMContentLoaded', schedulePlacing);

    // A style changed through the style objects moves boxes without any of
    // the events above, and a body as tall as the window never changes size:
    // a light look at some of the glyphs' places at a time catches what they
    // miss, so that a big page is looked over without holding up the user.
    const glyphsLookedAtOnce = 200;
    let nextLook = 0;

    function glyphsMoved() {
        const count = Math.min(placed.length, glyphsLookedAtOnce);
        for (let n = 0; n < count; ++n) {
            nextLook = (nextLook + 1) % placed.length;
            const was = placed[nextLook];
            if (!was.el.isConnected || !sameSpot(glyphSpot(was.el, was.glyph), was))
                return true;
        }
        return false;
    }

    setInterval(function () {
        if (document.hidden || frameAsked)
            return;
        if (glyphs.length && document.body && glyphsMoved())
            placeGlyphs();
        if (T.handles)
            T.handles.place();
    }, 250);

    T.layer = {
        control: function () { return controlStillSelected() ? control : null; },
        select: function (el) {
            control = el;
            selectNode(el);
        },
        forget: function () { control = null; },
        editable: editable,
        isPositioned: isPositioned,
        positionedEdge: positionedEdge,
        addLayer: addLayer,
        showLayer: showLayer,
        schedule: schedulePlacing,
    };

    function serialize() {
        let text = '';
        const dt = document.doctype;
        if (dt)
            text = new XMLSerializer().serializeToString(dt) + '\n';
        return text + withoutOverlay(function () { return document.documentElement.outerHTML; });
    }

    function attr(el, name, flags) {
        if (!el.hasAttribute(name))
            return null;
        // Flags 0 read addresses the way the page resolves them.
        const lower = String(name).toLowerCase();
        if (!(flags & 2) && (lower === 'href' || lower === 'src') && typeof el[lower] === 'string' &&
            el[lower] !== '')
            return el[lower];
        return el.getAttribute(name);
    }

    function setAttr(el, name, value) {
        if (value === null || value === undefined)
            el.removeAttribute(name);
        else
            el.setAttribute(name, String(value));
    }

    const ops = {
        token: function () { return T.token; },
        designMode: function () { return document.designMode === 'on' ? 'On' : 'Off'; },
        setDesignMode: function (mode) {
            const on = String(mode).toLowerCase() === 'on';
            document.designMode = on ? 'on' : 'off';
            if (!on)
                control = null;
        },
        exec: execute,
        query: queryValue,
        snapshot: snapshot,
        saveSelection: saveSelection,
        restoreSelection: restoreSelection,
        selectionType: selectionType,
        createRange: createRange,
        rangeParent: function (r) { return handle(rangeParent(rangeOf(r, 'text'))); },
        rangePaste: function (r, html) { pasteHTML(rangeOf(r, 'text'), html); },
        rangeText: function (r) { return rangeOf(r, 'text').range.toString(); },
        rangeHtml: function (r) {
            const box = document.createElement('div');
            box.appendChild(rangeOf(r, 'text').range.cloneContents());
            return box.innerHTML;
        },
        controlElement: function (r, i) {
            const c = rangeOf(r, 'control');
            if (i !== 0 || !c.el.isConnected)
                return null;
            return handle(c.el);
        },
        attach: attach,
        setProperty: setProperty,
        length: function (d) { return collect(d).length; },
        item: function (d, i) { return handle(collect(d)[i] || null); },
        body: function () { return handle(document.body); },
        activeElement: function () { return handle(document.activeElement); },
        title: function () { return document.title; },
        setTitle: function (t) { document.title = String(t); },
        bgColor: function () { return document.body ? (document.body.getAttribute('bgcolor') || '') : ''; },
        setBgColor: function (c) {
            if (!document.body)
                throw new Error('The document has no body');
            setAttr(document.body, 'bgcolor', c === '' ? null : c);
        },
        url: function () { return String(document.URL); },
        doctype: function () {
            const dt = document.doctype;
            return dt ? new XMLSerializer().serializeToString(dt) : '';
        },
        zeroBorders: function (on) { zeroBorders = truthy(on); renderGlyphs(); },
        emptyGlyphs: function () { glyphs.length = 0; renderGlyphs(); },
        addGlyph: function (tag, picture, closing) {
            glyphs.push({tag: String(tag).toLowerCase(), picture: String(picture), closing: closing});
            renderGlyphs();
        },
        html: serialize,
        tagName: function (e) { return node(e).tagName.toUpperCase(); },
        id: function (e) { return node(e).id; },
        getAttribute: function (e, name, flags) { return attr(node(e), name, flags); },
        // A JSON array text, one value (text or null) per name.
        getAttributes: function (e, names, flags) {
            const el = node(e);
            return JSON.stringify(names.map(function (name) {
                const v = attr(el, name, flags);
                return v === null ? null : String(v);
            }));
        },
        setAttribute: function (e, name, value) { setAttr(node(e), name, value); },
        removeAttribute: function (e, name) {
            const el = node(e);
            const had = el.hasAttribute(name);
            el.removeAttribute(name);
            return had;
        },
        parent: function (e) { return handle(node(e).parentElement); },
        outerHTML: function (e) { return withoutOverlay(function () { return node(e).outerHTML; }); },
        innerHTML: function (e) { return withoutOverlay(function () { return node(e).innerHTML; }); },
        setInnerHTML: function (e, html) { node(e).innerHTML = String(html); },
        innerText: function (e) { return withoutOverlay(function () { return node(e).innerText; }); },
        same: function (a, b) { return node(a) === node(b); },
        insertRow: function (e, i) { return handle(node(e).insertRow(i)); },
        deleteRow: function (e, i) { node(e).deleteRow(i); },
        insertCell: function (e, i) { return handle(node(e).insertCell(i)); },
        deleteCell: function (e, i) { node(e).deleteCell(i); },
    };

    T.dispatch = function (requestText) {
        try {
            const request = JSON.parse(requestText);
            if (request.t !== undefined && request.t !== T.token)
                throw new Error('The document is no longer shown in the browser');
            const op = ops[request.op];
            if (!op)
                throw new Error('Unknown document call ' + request.op);
            const v = op.apply(null, request.a || []);
            return {ok: true, v: v === undefined ? null : v};
        } catch (e) {
            return {ok: false, e: String(e && e.message ? e.message : e)};
        }
    };
})();
