// The script the page host puts into every page before the page's own scripts run. It
// gives each <object classid="clsid:..."> the control's script methods and reports the
// page's objects to the host through the "activex" script message handler:
//   {kind: "create", key, classId, params: [[name, value]...], x, y, width, height}
//   {kind: "place", key, x, y, width, height}     the object moved or changed size
//   {kind: "invoke", key, method, argument}       page script called a method
// An object is reported when the page has been parsed, or earlier when script calls one of
// its methods first. window.__activexHosted(key) marks an object whose control runs
// (attribute data-activex-hosted), so its fallback content can be hidden.
#pragma once

extern const char kPageBridgeScript[];
// The name of the script message handler the bridge posts to.
inline constexpr char kPageBridgeHandler[] = "activex";
