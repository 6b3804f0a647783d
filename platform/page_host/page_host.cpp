#include "platform/page_host/page_host.h"

#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <chrono>
#include <map>
#include <thread>

#include "platform/page_host/control_module.h"
#include "platform/page_host/page_bridge_script.h"
#include "webcontrol/control_registration.h"
#include "webcontrol/launcher_log.h"
#include "webcontrol/page_controls.h"
#include "webcontrol/registry_file.h"

namespace {

// An object without a size of its own still gets a box, so the control has somewhere to be;
// the fallback content of an object whose control runs is hidden under it.
constexpr char kObjectStyle[] =
    "object[classid] { display: inline-block; }\n"
    "object[data-activex-hosted] { overflow: hidden; font-size: 0; color: transparent; }";

// The view as the controls' event threads see it: a host text is handed to the GTK thread,
// which runs it only while the view is still there.
struct TViewRef {
  WebKitWebView* view = nullptr;
};

struct TPendingScript {
  std::weak_ptr<TViewRef> view;
  std::string script;
};

void ScriptFinished(GObject* view, GAsyncResult* result, gpointer) {
  GError* error = nullptr;
  JSCValue* value =
      webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error);
  if (error) {
    LauncherLog("a host text failed in the page: %s", error->message);
    g_error_free(error);
  }
  if (value) g_object_unref(value);
}

gboolean RunPendingScript(gpointer data) {
  std::unique_ptr<TPendingScript> pending(static_cast<TPendingScript*>(data));
  if (std::shared_ptr<TViewRef> ref = pending->view.lock(); ref && ref->view)
    webkit_web_view_evaluate_javascript(ref->view, pending->script.c_str(), -1, nullptr, nullptr,
                                        nullptr, &ScriptFinished, nullptr);
  return G_SOURCE_REMOVE;
}

std::string Text(JSCValue* object, const char* name) {
  JSCValue* value = jsc_value_object_get_property(object, name);
  std::string text;
  if (value && jsc_value_is_string(value)) {
    char* chars = jsc_value_to_string(value);
    text = chars ? chars : "";
    g_free(chars);
  }
  if (value) g_object_unref(value);
  return text;
}

int Number(JSCValue* object, const char* name) {
  JSCValue* value = jsc_value_object_get_property(object, name);
  const int number = value && jsc_value_is_number(value) ? jsc_value_to_int32(value) : 0;
  if (value) g_object_unref(value);
  return number;
}

TPageRect Rect(JSCValue* message) {
  return {Number(message, "x"), Number(message, "y"), Number(message, "width"),
          Number(message, "height")};
}

// The [name, value] pairs of a "create" message.
std::vector<std::pair<std::string, std::string>> Params(JSCValue* message) {
  std::vector<std::pair<std::string, std::string>> params;
  JSCValue* list = jsc_value_object_get_property(message, "params");
  if (list && jsc_value_is_array(list)) {
    const int count = Number(list, "length");
    for (int i = 0; i < count && i < 1000; ++i) {
      JSCValue* pair = jsc_value_object_get_property_at_index(list, i);
      if (pair && jsc_value_is_array(pair)) params.emplace_back(Text(pair, "0"), Text(pair, "1"));
      if (pair) g_object_unref(pair);
    }
  }
  if (list) g_object_unref(list);
  return params;
}

std::string PageUri(const std::string& page) {
  if (page.find("://") != std::string::npos) return page;
  GError* error = nullptr;
  char* absolute = g_canonicalize_filename(page.c_str(), nullptr);
  char* uri = g_filename_to_uri(absolute, nullptr, &error);
  g_free(absolute);
  if (!uri) {
    LauncherLog("the page %s cannot be named as an address: %s", page.c_str(), error->message);
    g_error_free(error);
    return "about:blank";
  }
  std::string text = uri;
  g_free(uri);
  return text;
}

}  // namespace

struct TPageHost::TState {
  TOptions options;
  GtkWidget* window = nullptr;
  WebKitWebView* view = nullptr;
  std::shared_ptr<TViewRef> viewRef = std::make_shared<TViewRef>();
  std::map<std::string, std::shared_ptr<TControlModule>> modules;
  std::unique_ptr<TPageControls> controls;
  bool loaded = false;
  bool closed = false;

  std::string FindModule(const std::string& classId) {
    TRegistryFile registry;
    const std::string path =
        options.registryPath.empty() ? UserRegistryPath() : options.registryPath;
    if (!path.empty()) registry.Load(path);
    std::string module = FindControlModule(registry, classId);
    if (!module.empty() || options.fallbackModule.empty()) return module;
    // A control built beside the host serves its own class without being registered.
    std::shared_ptr<TControlModule> fallback = LoadModule(options.fallbackModule);
    if (fallback && NormalClassId(fallback->ClassId()) == NormalClassId(classId)) {
      LauncherLog("class %s is not registered; using %s beside the host", classId.c_str(),
                  options.fallbackModule.c_str());
      return options.fallbackModule;
    }
    return "";
  }

  std::shared_ptr<TControlModule> LoadModule(const std::string& path) {
    auto found = modules.find(path);
    if (found != modules.end()) return found->second;
    std::shared_ptr<TControlModule> module = TControlModule::Load(path);
    if (module) modules[path] = module;
    return module;
  }

  std::unique_ptr<TPageControl> MakeControl(const std::string& path) {
    std::shared_ptr<TControlModule> module = LoadModule(path);
    if (!module || !view) return nullptr;
    // The controls' windows are X11 children of the host's window, above the view (a
    // native window of the view's own would stop GTK drawing the page into it).
    GdkWindow* surface = window ? gtk_widget_get_window(window) : nullptr;
    if (!surface || !GDK_IS_X11_WINDOW(surface)) {
      LauncherLog("the page's window is no X11 window to hold a control");
      return nullptr;
    }
    const uint64_t parent = gdk_x11_window_get_xid(surface);
    // The control opens a display connection of its own: the window must exist on the
    // server before that connection names it.
    gdk_display_sync(gdk_window_get_display(surface));
    const char* display = gdk_display_get_name(gdk_window_get_display(surface));
    std::weak_ptr<TViewRef> ref = viewRef;
    return std::make_unique<TModuleControl>(
        module, display ? display : "", parent, [ref](const std::string& script) {
          g_idle_add(&RunPendingScript, new TPendingScript{ref, script});
        });
  }

  void NewControls() {
    controls = std::make_unique<TPageControls>(
        [this](const std::string& classId) { return FindModule(classId); },
        [this](const std::string& module) { return MakeControl(module); });
  }

  // A rectangle of the page's view in the host window's pixels.
  TPageRect InWindow(TPageRect rect) const {
    int x = 0, y = 0;
    if (view && window &&
        gtk_widget_translate_coordinates(GTK_WIDGET(view), window, rect.x, rect.y, &x, &y)) {
      rect.x = x;
      rect.y = y;
    }
    return rect;
  }

  void Received(JSCValue* message) {
    if (!message || !jsc_value_is_object(message) || !controls) return;
    const std::string kind = Text(message, "kind");
    const int key = Number(message, "key");
    if (kind == "create") {
      TPageObject object;
      object.key = key;
      object.classId = Text(message, "classId");
      object.params = Params(message);
      object.rect = InWindow(Rect(message));
      if (controls->Create(object) && view)
        webkit_web_view_evaluate_javascript(
            view, ("window.__activexHosted(" + std::to_string(key) + ")").c_str(), -1, nullptr,
            nullptr, nullptr, nullptr, nullptr);
    } else if (kind == "place") {
      controls->Place(key, InWindow(Rect(message)));
    } else if (kind == "invoke") {
      controls->Invoke(key, Text(message, "method"), Text(message, "argument"));
    } else {
      LauncherLog("the page sent an unknown message \"%s\"", kind.c_str());
    }
  }

  // The page goes (closed, or another page loads): its controls are released, which waits
  // for their games to end.
  void ReleaseControls() {
    if (controls) controls->ReleaseAll();
  }

  static void OnMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer self) {
    static_cast<TState*>(self)->Received(webkit_javascript_result_get_js_value(result));
  }
  static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    auto* state = static_cast<TState*>(self);
    if (event == WEBKIT_LOAD_STARTED) {
      state->ReleaseControls();
      state->loaded = false;
    } else if (event == WEBKIT_LOAD_FINISHED) {
      state->loaded = true;
    }
  }
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
    static_cast<TState*>(self)->ReleaseControls();
    return FALSE;
  }
  static void OnDestroy(GtkWidget*, gpointer self) {
    auto* state = static_cast<TState*>(self);
    state->ReleaseControls();
    state->viewRef->view = nullptr;
    state->view = nullptr;
    state->window = nullptr;
    state->closed = true;
    if (gtk_main_level() > 0) gtk_main_quit();
  }
};

bool TPageHost::StartToolkit() {
  return gtk_init_check(nullptr, nullptr);
}

TPageHost::TPageHost(const TOptions& options) : mState(std::make_unique<TState>()) {
  mState->options = options;
  mState->NewControls();
}

TPageHost::~TPageHost() {
  Close();
}

void TPageHost::Open(const std::string& page) {
  TState& s = *mState;
  if (!s.window) {
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    g_signal_connect(content, "script-message-received::activex", G_CALLBACK(&TState::OnMessage),
                     &s);
    webkit_user_content_manager_register_script_message_handler(content, kPageBridgeHandler);
    WebKitUserScript* bridge =
        webkit_user_script_new(kPageBridgeScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, bridge);
    webkit_user_script_unref(bridge);
    WebKitUserStyleSheet* style =
        webkit_user_style_sheet_new(kObjectStyle, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                                    WEBKIT_USER_STYLE_LEVEL_USER, nullptr, nullptr);
    webkit_user_content_manager_add_style_sheet(content, style);
    webkit_user_style_sheet_unref(style);

    s.view = WEBKIT_WEB_VIEW(webkit_web_view_new_with_user_content_manager(content));
    g_object_unref(content);
    s.viewRef->view = s.view;
    WebKitSettings* settings = webkit_web_view_get_settings(s.view);
    // The page only hosts a game window: no GPU path, which also runs on a bare X server.
    webkit_settings_set_hardware_acceleration_policy(settings,
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    webkit_settings_set_enable_write_console_messages_to_stdout(settings, TRUE);
    g_signal_connect(s.view, "load-changed", G_CALLBACK(&TState::OnLoadChanged), &s);

    s.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(s.window), "activex_host");
    gtk_window_set_default_size(GTK_WINDOW(s.window), s.options.width, s.options.height);
    gtk_container_add(GTK_CONTAINER(s.window), GTK_WIDGET(s.view));
    g_signal_connect(s.window, "delete-event", G_CALLBACK(&TState::OnDelete), &s);
    g_signal_connect(s.window, "destroy", G_CALLBACK(&TState::OnDestroy), &s);
    gtk_widget_show_all(s.window);
  }
  webkit_web_view_load_uri(s.view, PageUri(page).c_str());
}

void TPageHost::Run() {
  if (!mState->window) return;
  // Ctrl+C or a termination request closes the page like its close box, so the controls
  // end their games and remove their folders.
  auto close = [](gpointer state) -> gboolean {
    if (GtkWidget* window = static_cast<TState*>(state)->window) gtk_widget_destroy(window);
    return G_SOURCE_CONTINUE;
  };
  const guint interrupt = g_unix_signal_add(SIGINT, close, mState.get());
  const guint terminate = g_unix_signal_add(SIGTERM, close, mState.get());
  gtk_main();
  g_source_remove(interrupt);
  g_source_remove(terminate);
}

void TPageHost::RunFor(unsigned ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void TPageHost::Close() {
  mState->ReleaseControls();
  if (mState->window) gtk_widget_destroy(mState->window);
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
}

bool TPageHost::Closed() const {
  return mState->closed;
}

namespace {

struct TEvaluation {
  bool done = false;
  bool ok = false;
  std::string result;
};

void EvaluationFinished(GObject* view, GAsyncResult* result, gpointer data) {
  std::shared_ptr<TEvaluation>* holder = static_cast<std::shared_ptr<TEvaluation>*>(data);
  TEvaluation& evaluation = **holder;
  GError* error = nullptr;
  JSCValue* value =
      webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error);
  if (error) {
    evaluation.result = error->message;
    g_error_free(error);
  } else if (value) {
    char* text =
        jsc_value_is_string(value) ? jsc_value_to_string(value) : jsc_value_to_json(value, 0);
    evaluation.result = text ? text : "undefined";
    evaluation.ok = true;
    g_free(text);
  }
  if (value) g_object_unref(value);
  evaluation.done = true;
  delete holder;
}

}  // namespace

bool TPageHost::Evaluate(const std::string& script, std::string* result, unsigned timeoutMs) {
  result->clear();
  if (!mState->view) {
    *result = "no page";
    return false;
  }
  auto evaluation = std::make_shared<TEvaluation>();
  webkit_web_view_evaluate_javascript(mState->view, script.c_str(), -1, nullptr, nullptr, nullptr,
                                      &EvaluationFinished,
                                      new std::shared_ptr<TEvaluation>(evaluation));
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!evaluation->done && std::chrono::steady_clock::now() < end) RunFor(5);
  if (!evaluation->done) {
    *result = "no answer from the page";
    return false;
  }
  *result = evaluation->result;
  return evaluation->ok;
}

bool TPageHost::Loaded() const {
  return mState->loaded;
}

std::vector<uint64_t> TPageHost::ControlWindows() const {
  return mState->controls ? mState->controls->WindowIds() : std::vector<uint64_t>{};
}
