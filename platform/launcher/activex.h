/* The web launcher control as a shared library ("libactivex.so"): the C interface a page
 * host loads. A control is created, configured from the page's object parameters, given a
 * window inside the page's window (which starts the game once), called by the page's script
 * methods, and released when the page lets go of it. Host texts from the game reach the page
 * through the script callback, on the control's own event thread. */
#ifndef MAHJONGCURIOMAR_ACTIVEX_H
#define MAHJONGCURIOMAR_ACTIVEX_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct activex_control activex_control;

/* Runs one host text (a script call such as GameReady("...")) in the page. */
typedef void (*activex_script_fn)(void* user, const char* script);
/* Receives one stored property (name, UTF-8 value). */
typedef void (*activex_property_fn)(void* user, const char* name, const char* value);

/* The class GUID pages name in <object classid="clsid:...">. */
const char* activex_class_id(void);

/* Registration: writes (or removes) the control's keys in the user's registry file, with
 * this library's own path as the class's module, so a page host finds it by the class
 * GUID. 1 on success, 0 when the registry could not be written. */
int activex_register_server(void);
int activex_unregister_server(void);

activex_control* activex_create(activex_script_fn run_script, void* user);
/* Final release: asks the game to quit and waits until it has ended and its folder is gone. */
void activex_release(activex_control* control);

/* A page parameter ("DownloadUrl", "Options", "MSN", "AnonymousScores", "HideLogos",
 * "GameData", "_cx", "_cy"), UTF-8; 0 for names the control does not persist. */
int activex_load_property(activex_control* control, const char* name, const char* value);
/* Every persisted property, as they would be stored. */
void activex_save_properties(const activex_control* control, activex_property_fn out, void* user);

/* A script method by dispatch id (1..11) or by name; 1 when it is one of the control's
 * methods (whether or not a game runs), 0 otherwise. */
int activex_invoke(activex_control* control, int dispatch_id, const char* argument);
int activex_invoke_name(activex_control* control, const char* method, const char* argument);

/* Creates the control's window as a child of parent (an X11 window id) on display (NULL:
 * $DISPLAY) and, the first time, starts the game. The window's id, or 0. */
unsigned long activex_create_window(activex_control* control, const char* display,
                                    unsigned long parent, int x, int y, int width, int height);
void activex_place_window(activex_control* control, int x, int y, int width, int height);

/* The status line: "Loading MahjongCuriomar...", "" while the game runs, or
 * "Sorry, the game cannot run.". Valid until the next call on the control. */
const char* activex_status(activex_control* control);

#ifdef __cplusplus
}
#endif

#endif
