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
    let drag = null;
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

    // The bottom right corner of a selected object resizes it.
    function nearCorner(el, x, y) {
        const box = el.getBoundingClientRect();
        return box.right - x >= -2 && box.right - x < 10 && box.bottom - y >= -2 &&
            box.bottom - y < 10;
    }

    window.addEventListener('mousedown', function (e) {
        drag = null;
        if (!editable() || e.button !== 0) {
            control = null;
            return;
        }
        const object = objectAt(e);
        if (!object) {
            control = null;
            return;
        }
        control = object;
        e.preventDefault();
        selectNode(object);
        if (T.liveResize && nearCorner(object, e.clientX, e.clientY))
            drag = {el: object, resize: true, x: e.clientX, y: e.clientY,
                width: object.offsetWidth, height: object.offsetHeight};
        else if (T.position2D && isPositioned(object))
            drag = {el: object, x: e.clientX, y: e.clientY, left: object.offsetLeft,
                top: object.offsetTop};
    }, true);

    window.addEventListener('mousemove', function (e) {
        if (!drag)
            return;
        const dx = e.clientX - drag.x;
        const dy = e.clientY - drag.y;
        if (drag.resize) {
            const width = Math.max(1, drag.width + dx);
            const height = Math.max(1, drag.height + dy);
            if (drag.el.tagName.toLowerCase() === 'img' || drag.el.tagName.toLowerCase() === 'table') {
                drag.el.setAttribute('width', String(width));
                drag.el.setAttribute('height', String(height));
            } else {
                drag.el.style.width = width + 'px';
                drag.el.style.height = height + 'px';
            }
        } else {
            drag.el.style.left = (drag.left + dx) + 'px';
            drag.el.style.top = (drag.top + dy) + 'px';
        }
        e.preventDefault();
    }, true);

    window.addEventListener('mouseup', function () {
        drag = null;
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
            const message = {k: 'event', sink: sink, type: e.type, src: handle(e.target instanceof
                Element ? e.target : e.target.parentElement), token: T.token};
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
                return e !== overlay;
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

    function glyphRule(g) {
        const url = 'url("' + g.picture.replace(/["\\]/g, '\\$&') + '")';
        if (g.tag === 'img')
            return 'img { padding-left: 11px; background: ' + url + ' no-repeat left top; }';
        return g.tag + (g.closing ? '::after' : '::before') + ' { content: ' + url + '; }';
    }

    function renderGlyphs() {
        const rules = glyphs.filter(function (g) { return g.tag !== 'br'; }).map(glyphRule);
        if (zeroBorders)
            rules.push(zeroBorderRule);
        glyphSheet.replaceSync(rules.join('\n'));
        placeBreakGlyphs();
    }

    // A line break draws no box of its own, so its pictures are laid over
    // the page from a layer after the body, which the markup never shows.
    let overlay = null;
    let overlayRoot = null;
    let placing = false;

    function withoutOverlay(read) {
        if (!overlay || !overlay.isConnected)
            return read();
        const parent = overlay.parentNode;
        overlay.remove();
        try {
            return read();
        } finally {
            parent.appendChild(overlay);
        }
    }

    function placeBreakGlyphs() {
        const glyph = glyphs.find(function (g) { return g.tag === 'br'; });
        if (!glyph || !document.body) {
            if (overlay)
                overlay.remove();
            return;
        }
        if (!overlay) {
            overlay = document.createElement('tavrisk-glyphs');
            overlay.setAttribute('style', 'position:absolute;left:0;top:0;width:0;height:0;' +
                'overflow:visible;pointer-events:none');
            overlayRoot = overlay.attachShadow({mode: 'closed'});
        }
        if (!overlay.isConnected)
            document.documentElement.appendChild(overlay);
        overlayRoot.replaceChildren();
        for (const br of document.body.getElementsByTagName('br')) {
            const range = document.createRange();
            range.selectNode(br);
            const box = range.getBoundingClientRect();
            const img = document.createElement('img');
            img.src = glyph.picture;
            img.setAttribute('style', 'position:absolute;width:11px;height:11px;left:' +
                (box.left + scrollX) + 'px;top:' + (box.top + scrollY) + 'px');
            overlayRoot.appendChild(img);
        }
    }

    function schedulePlacing() {
        if (placing || !overlay || !overlay.isConnected)
            return;
        placing = true;
        requestAnimationFrame(function () {
            placing = false;
            placeBreakGlyphs();
        });
    }

    new MutationObserver(schedulePlacing).observe(document, {childList: true, subtree: true,
        characterData: true, attributes: true});
    window.addEventListener('resize', schedulePlacing);

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
