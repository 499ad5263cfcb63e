#include "platform/webkit/WebKitBrowser.h"

#include "platform/browser/ErrorInfo.h"
#include "platform/loop/PumpUntil.h"
#include "platform/webkit/Json.h"
#include "platform/webkit/WebKitDocument.h"

#include <webkit2/webkit2.h>

#include <cmath>
#include <set>

extern "C" const char tavrisk_editing_js[];

namespace webkit {

namespace {

constexpr const char* kHandlerName = "tavrisk";
// The editing layer lives in a script world of its own, out of reach of the
// page's scripts; it shares the page's document.
constexpr const char* kWorld = "tavrisk";
constexpr const char* kNoDocument = "The browser shows no document";

// The state of one call into the page, shared with its callback so that an
// answer arriving after the time limit finds it still there.
struct PendingCall {
    bool done = false;
    JSCValue* value = nullptr;
    std::string error;
    ~PendingCall() {
        if (value)
            g_object_unref(value);
    }
};

void onCallFinished(GObject* source, GAsyncResult* result, gpointer data) {
    auto* holder = static_cast<std::shared_ptr<PendingCall>*>(data);
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(source),
                                                                            result, &error);
    auto& call = **holder;
    if (error) {
        call.error = error->message;
        g_error_free(error);
    }
    call.value = value;
    call.done = true;
    delete holder;
}

std::string textProperty(JSCValue* object, const char* name) {
    JSCValue* v = jsc_value_object_get_property(object, name);
    std::string s;
    if (v && jsc_value_is_string(v)) {
        char* text = jsc_value_to_string(v);
        s = text;
        g_free(text);
    }
    if (v)
        g_object_unref(v);
    return s;
}

long numberProperty(JSCValue* object, const char* name) {
    JSCValue* v = jsc_value_object_get_property(object, name);
    long n = v && jsc_value_is_number(v) ? static_cast<long>(jsc_value_to_double(v)) : 0;
    if (v)
        g_object_unref(v);
    return n;
}

bool hasProperty(JSCValue* object, const char* name) {
    return jsc_value_object_has_property(object, name);
}

Answer readAnswer(JSCValue* v);

Answer readRecord(JSCValue* v) {
    Answer a;
    if (jsc_value_is_array(v)) {
        long length = numberProperty(v, "length");
        for (long i = 0; i < length; ++i) {
            JSCValue* item = jsc_value_object_get_property_at_index(v, static_cast<guint>(i));
            a.items.push_back(readAnswer(item));
            if (item)
                g_object_unref(item);
        }
        return a;
    }
    gchar** names = jsc_value_object_enumerate_properties(v);
    for (gchar** name = names; name && *name; ++name) {
        JSCValue* field = jsc_value_object_get_property(v, *name);
        a.fields[*name] = readAnswer(field);
        if (field)
            g_object_unref(field);
    }
    g_strfreev(names);
    return a;
}

Answer readAnswer(JSCValue* v) {
    Answer a;
    if (!v || jsc_value_is_null(v) || jsc_value_is_undefined(v))
        return a;
    if (jsc_value_is_boolean(v))
        a.value = browser::Value(jsc_value_to_boolean(v) != FALSE);
    else if (jsc_value_is_number(v))
        a.value = browser::Value(jsc_value_to_double(v));
    else if (jsc_value_is_string(v)) {
        char* text = jsc_value_to_string(v);
        a.value = browser::Value(std::string(text));
        g_free(text);
    } else if (jsc_value_is_object(v) && hasProperty(v, "el")) {
        a.element = numberProperty(v, "el");
        a.tag = textProperty(v, "tag");
    } else if (jsc_value_is_object(v) && hasProperty(v, "range")) {
        a.range = numberProperty(v, "range");
        a.rangeKind = textProperty(v, "kind");
    } else if (jsc_value_is_object(v)) {
        a = readRecord(v);
    }
    return a;
}

// The calls that only read the page; every other one may change it.
bool onlyReads(const std::string& op) {
    static const std::set<std::string> reading = {
        "token",         "designMode",  "query",         "snapshot",  "saveSelection",
        "selectionType", "rangeParent", "rangeText",     "rangeHtml", "length",
        "item",          "body",        "activeElement", "title",     "bgColor",
        "url",           "html",        "tagName",       "id",        "getAttribute",
        "parent",        "outerHTML",   "innerHTML",     "innerText", "same",
        "controlElement"};
    return reading.count(op) > 0;
}

// GTK callbacks, forwarding to the browser object.
gboolean decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                      gpointer self) {
    auto* browser = static_cast<WebKitBrowser*>(self);
    if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION)
        return browser->onNavigationPolicy(decision);
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE)
        return browser->onResponsePolicy(decision);
    return FALSE;
}

void loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    static_cast<WebKitBrowser*>(self)->onLoadChanged(event);
}

gboolean loadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error, gpointer self) {
    return static_cast<WebKitBrowser*>(self)->onLoadFailed(uri, error);
}

void progressChanged(GObject*, GParamSpec*, gpointer self) {
    static_cast<WebKitBrowser*>(self)->onProgress();
}

GtkWidget* createView(WebKitWebView*, WebKitNavigationAction* action, gpointer self) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    static_cast<WebKitBrowser*>(self)->onCreate(request ? webkit_uri_request_get_uri(request) : "");
    return nullptr;
}

void processTerminated(WebKitWebView*, WebKitWebProcessTerminationReason, gpointer self) {
    static_cast<WebKitBrowser*>(self)->onProcessTerminated();
}

void scriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer self) {
    static_cast<WebKitBrowser*>(self)->onScriptMessage(
        webkit_javascript_result_get_js_value(result));
}

std::string toAddress(const std::string& location) {
    if (!location.empty() && location[0] == '/') {
        gchar* uri = g_filename_to_uri(location.c_str(), nullptr, nullptr);
        if (uri) {
            std::string result = uri;
            g_free(uri);
            return result;
        }
    }
    return location;
}

} // namespace

ComPtr<WebKitBrowser> WebKitBrowser::create(WebKitWebView* view) {
    return ComPtr<WebKitBrowser>(new WebKitBrowser(view));
}

WebKitBrowser::WebKitBrowser(WebKitWebView* view) : m_view(view) {
    g_object_ref(m_view);
    WebKitSettings* settings = webkit_web_view_get_settings(m_view);
    webkit_settings_set_javascript_can_access_clipboard(settings, TRUE);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);

    WebKitUserContentManager* manager = webkit_web_view_get_user_content_manager(m_view);
    WebKitUserScript* script = webkit_user_script_new_for_world(
        tavrisk_editing_js, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
        WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, kWorld, nullptr, nullptr);
    webkit_user_content_manager_add_script(manager, script);
    webkit_user_script_unref(script);
    webkit_user_content_manager_register_script_message_handler_in_world(manager, kHandlerName,
                                                                         kWorld);
    m_managerHandler = g_signal_connect(manager, "script-message-received::tavrisk",
                                        G_CALLBACK(scriptMessage), this);

    m_handlers = {
        g_signal_connect(m_view, "decide-policy", G_CALLBACK(decidePolicy), this),
        g_signal_connect(m_view, "load-changed", G_CALLBACK(loadChanged), this),
        g_signal_connect(m_view, "load-failed", G_CALLBACK(loadFailed), this),
        g_signal_connect(m_view, "notify::estimated-load-progress", G_CALLBACK(progressChanged),
                         this),
        g_signal_connect(m_view, "create", G_CALLBACK(createView), this),
        g_signal_connect(m_view, "web-process-terminated", G_CALLBACK(processTerminated), this),
    };
}

WebKitBrowser::~WebKitBrowser() {
    for (unsigned long id : m_handlers)
        g_signal_handler_disconnect(m_view, id);
    WebKitUserContentManager* manager = webkit_web_view_get_user_content_manager(m_view);
    g_signal_handler_disconnect(manager, m_managerHandler);
    webkit_user_content_manager_unregister_script_message_handler_in_world(manager, kHandlerName,
                                                                           kWorld);
    if (m_printSettings)
        g_object_unref(m_printSettings);
    g_object_unref(m_view);
}

HRESULT WebKitBrowser::call(const std::string& op, const std::string& token,
                            const std::vector<std::string>& args, Answer* answer) {
    // A handler run during the wait may drop the last other reference.
    ComPtr<WebKitBrowser> keep(this);
    ++m_calls;
    // A change in flight keeps event snapshots from being trusted until it
    // has reached the page.
    bool changes = !onlyReads(op);
    if (changes) {
        ++m_pageChanges;
        ++m_changesInFlight;
    }
    struct EndOfChange {
        size_t* inFlight;
        ~EndOfChange() {
            if (inFlight)
                --*inFlight;
        }
    } endOfChange{changes ? &m_changesInFlight : nullptr};
    std::string request = "{\"op\":" + json::text(op);
    if (!token.empty())
        request += ",\"t\":" + json::text(token);
    request += ",\"a\":[";
    for (size_t i = 0; i < args.size(); ++i)
        request += (i ? "," : "") + args[i];
    request += "]}";

    auto pending = std::make_shared<PendingCall>();
    GCancellable* cancellable = g_cancellable_new();
    GVariantDict dict;
    g_variant_dict_init(&dict, nullptr);
    g_variant_dict_insert(&dict, "request", "s", request.c_str());
    webkit_web_view_call_async_javascript_function(
        m_view, "return window.__tavrisk ? window.__tavrisk.dispatch(request) : null;", -1,
        g_variant_dict_end(&dict), kWorld, nullptr, cancellable, onCallFinished,
        new std::shared_ptr<PendingCall>(pending));
    // Handlers may run in here, and may call into the page themselves. The
    // answer comes through the main loop, which wakes the wait.
    loop::pumpUntil([&] { return pending->done; }, m_timeout, m_timeout);
    g_cancellable_cancel(cancellable);
    g_object_unref(cancellable);

    if (!pending->done)
        return browser::Fail("The page did not answer within " +
                             std::to_string(m_timeout.count() / 1000.0).substr(0, 4) +
                             " seconds (its process may have stopped)");
    if (!pending->error.empty())
        return browser::Fail("The page could not be reached: " + pending->error);
    JSCValue* v = pending->value;
    if (!v || !jsc_value_is_object(v))
        return browser::Fail(kNoDocument);
    JSCValue* ok = jsc_value_object_get_property(v, "ok");
    bool succeeded = ok && jsc_value_to_boolean(ok);
    if (ok)
        g_object_unref(ok);
    if (!succeeded)
        return browser::Fail(textProperty(v, "e"));
    JSCValue* result = jsc_value_object_get_property(v, "v");
    *answer = readAnswer(result);
    if (result)
        g_object_unref(result);
    return S_OK;
}

HRESULT WebKitBrowser::get_Document(IHTMLDocument2** document) {
    if (!document)
        return E_POINTER;
    *document = nullptr;
    // The page that sent the event being delivered is still the one shown
    // unless a navigation began since: its document needs no call to find.
    if (!m_eventStack.empty() && !m_navigationRequested && !m_loading) {
        *document = MakeDocument(this, m_eventStack.back().token).detach();
        return S_OK;
    }
    Answer a;
    HRESULT hr = call("token", "", {}, &a);
    if (FAILED(hr))
        return hr;
    if (!a.value.isText())
        return browser::Fail(kNoDocument);
    *document = MakeDocument(this, a.value.asText()).detach();
    return S_OK;
}

HRESULT WebKitBrowser::get_LocationURL(std::string* url) {
    if (!url)
        return E_POINTER;
    const char* uri = webkit_web_view_get_uri(m_view);
    *url = uri ? uri : "";
    return S_OK;
}

HRESULT WebKitBrowser::get_Busy(BOOL* busy) {
    if (!busy)
        return E_POINTER;
    *busy = m_navigationRequested || m_loading || webkit_web_view_is_loading(m_view);
    return S_OK;
}

HRESULT WebKitBrowser::Navigate(const char* url) {
    if (!url)
        return E_POINTER;
    m_navigationRequested = true;
    webkit_web_view_load_uri(m_view, toAddress(url).c_str());
    return S_OK;
}

HRESULT WebKitBrowser::Navigate2(const char* url) {
    return Navigate(url);
}

HRESULT WebKitBrowser::Stop() {
    m_navigationRequested = false;
    webkit_web_view_stop_loading(m_view);
    return S_OK;
}

HRESULT WebKitBrowser::Advise(DWebBrowserEvents2* sink, DWORD* cookie) {
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = m_nextCookie++;
    m_sinks[*cookie] = ComPtr<DWebBrowserEvents2>(sink);
    return S_OK;
}

HRESULT WebKitBrowser::Unadvise(DWORD cookie) {
    return m_sinks.erase(cookie) ? S_OK : browser::Fail("No such event connection");
}

// A sink may unadvise itself or others while an event runs.
template <typename F> void WebKitBrowser::forEachSink(F&& f) {
    ComPtr<WebKitBrowser> keep(this);
    std::vector<std::pair<DWORD, ComPtr<DWebBrowserEvents2>>> sinks(m_sinks.begin(), m_sinks.end());
    for (auto& [cookie, sink] : sinks) {
        if (m_sinks.count(cookie))
            f(sink.get());
    }
}

bool WebKitBrowser::onNavigationPolicy(void* d) {
    auto* decision = WEBKIT_NAVIGATION_POLICY_DECISION(d);
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(decision);
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* frame = webkit_navigation_action_get_frame_name(action);
    std::string url = request ? webkit_uri_request_get_uri(request) : "";
    BOOL cancel = FALSE;
    g_object_ref(decision);
    forEachSink([&](DWebBrowserEvents2* s) {
        s->BeforeNavigate2(url.c_str(), frame ? frame : "", &cancel);
    });
    if (cancel) {
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
        m_navigationRequested = false;
    } else {
        webkit_policy_decision_use(WEBKIT_POLICY_DECISION(decision));
    }
    g_object_unref(decision);
    return true;
}

bool WebKitBrowser::onResponsePolicy(void* d) {
    auto* decision = WEBKIT_RESPONSE_POLICY_DECISION(d);
    WebKitURIResponse* response = webkit_response_policy_decision_get_response(decision);
    guint status = webkit_uri_response_get_status_code(response);
    if (status < 400 || !webkit_response_policy_decision_is_main_frame_main_resource(decision))
        return false;
    std::string url = webkit_uri_response_get_uri(response);
    BOOL cancel = FALSE;
    g_object_ref(decision);
    forEachSink([&](DWebBrowserEvents2* s) {
        s->NavigateError(url.c_str(), static_cast<long>(status), &cancel);
    });
    if (cancel)
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
    else
        webkit_policy_decision_use(WEBKIT_POLICY_DECISION(decision));
    g_object_unref(decision);
    return true;
}

void WebKitBrowser::onLoadChanged(int event) {
    if (event == WEBKIT_LOAD_STARTED) {
        m_navigationRequested = false;
        m_loading = true;
        return;
    }
    if (event != WEBKIT_LOAD_FINISHED)
        return;
    m_loading = false;
    m_navigationRequested = false;
    std::string url;
    get_LocationURL(&url);
    forEachSink([&](DWebBrowserEvents2* s) { s->DocumentComplete(url.c_str(), TRUE); });
}

bool WebKitBrowser::onLoadFailed(const char* uri, const void* e) {
    auto* error = static_cast<const GError*>(e);
    m_navigationRequested = false;
    if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
        g_error_matches(error, WEBKIT_POLICY_ERROR,
                        WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE))
        return false;
    BOOL cancel = FALSE;
    std::string url = uri ? uri : "";
    forEachSink([&](DWebBrowserEvents2* s) { s->NavigateError(url.c_str(), 0, &cancel); });
    return cancel != FALSE;
}

// A page whose process has gone loads nothing more: loops waiting for the
// browser to be idle must end.
void WebKitBrowser::onProcessTerminated() {
    m_loading = false;
    m_navigationRequested = false;
}

void WebKitBrowser::onProgress() {
    double progress = webkit_web_view_get_estimated_load_progress(m_view);
    long value = static_cast<long>(std::lround(progress * 10000));
    forEachSink([&](DWebBrowserEvents2* s) { s->ProgressChange(value, 10000); });
}

void WebKitBrowser::onCreate(const char* uri) {
    BOOL cancel = FALSE;
    std::string url = uri ? uri : "";
    forEachSink([&](DWebBrowserEvents2* s) { s->NewWindow2(url.c_str(), &cancel); });
    if (!cancel && !url.empty())
        Navigate(url.c_str());
}

long WebKitBrowser::addEventSink(IDispatch* sink) {
    long id = m_nextEventSink++;
    m_eventSinks[id] = ComPtr<IDispatch>(sink);
    return id;
}

void WebKitBrowser::onScriptMessage(void* v) {
    auto* value = static_cast<JSCValue*>(v);
    if (!jsc_value_is_object(value))
        return;
    std::string kind = textProperty(value, "k");
    if (kind == "frame") {
        std::string url = textProperty(value, "url");
        forEachSink([&](DWebBrowserEvents2* s) { s->DocumentComplete(url.c_str(), FALSE); });
        return;
    }
    if (kind != "event")
        return;
    PendingEvent event;
    event.type = textProperty(value, "type");
    event.token = textProperty(value, "token");
    JSCValue* src = jsc_value_object_get_property(value, "src");
    if (src && jsc_value_is_object(src)) {
        event.element = numberProperty(src, "el");
        event.tag = textProperty(src, "tag");
    }
    if (src)
        g_object_unref(src);
    JSCValue* snapshot = jsc_value_object_get_property(value, "snap");
    if (snapshot && jsc_value_is_object(snapshot))
        event.snapshot = std::make_shared<Answer>(readAnswer(snapshot));
    if (snapshot)
        g_object_unref(snapshot);
    deliverEvent(numberProperty(value, "sink"), std::move(event));
}

// Document events reach their sinks one after the other, as the page sent
// them: one arriving while a sink runs (and waits on the page) is queued.
void WebKitBrowser::deliverEvent(long sinkId, PendingEvent event) {
    event.sink = sinkId;
    m_eventQueue.push_back(std::move(event));
    if (!m_eventStack.empty())
        return;
    ComPtr<WebKitBrowser> keep(this);
    while (!m_eventQueue.empty()) {
        PendingEvent next = std::move(m_eventQueue.front());
        m_eventQueue.pop_front();
        auto found = m_eventSinks.find(next.sink);
        if (found == m_eventSinks.end())
            continue;
        ComPtr<IDispatch> sink = found->second;
        next.changesAtDelivery = m_pageChanges;
        m_eventStack.push_back(std::move(next));
        sink->Invoke(0, IUnknown::iid(), 0, 1, nullptr, nullptr, nullptr, nullptr);
        m_eventStack.pop_back();
    }
}

const Answer* WebKitBrowser::eventSnapshot(const std::string& token) const {
    if (m_eventStack.empty())
        return nullptr;
    const PendingEvent& event = m_eventStack.back();
    if (event.token != token || event.changesAtDelivery != m_pageChanges || m_changesInFlight > 0)
        return nullptr;
    return event.snapshot.get();
}

HRESULT WebKitBrowser::currentEvent(IHTMLEventObj** event) {
    *event = nullptr;
    if (m_eventStack.empty())
        return S_OK;
    const PendingEvent& e = m_eventStack.back();
    Answer source;
    source.element = e.element;
    source.tag = e.tag;
    *event = MakeEvent(this, e.token, e.type, source);
    return S_OK;
}

} // namespace webkit
