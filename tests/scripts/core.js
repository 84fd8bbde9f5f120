// A JScript client of Quillon.qfcLibCore: prints what it sees, one line per check.
var core = new ActiveXObject("Quillon.qfcLibCore");
WScript.Echo("before: " + core.GetAppVersion(true) + " " + core.GetAppVersion(false));
core.InitCore("Vantorel", "Vantorel", "C:\\Games\\", 1, 1, 32);
WScript.Echo("omitted: " + core.GetAppVersion() + " " + core.GetAppVersion());
WScript.Echo("formatted: " + core.GetAppVersion(true));
core.InitCore("Vantorel", "Vantorel", "C:\\Games\\", -1, 0, 7);
WScript.Echo("negative: " + core.GetAppVersion(true));

try {
    core.ShowRunOnceDialog("Hello");
    WScript.Echo("failing call: no error");
} catch (e) {
    WScript.Echo("failing call: " + (e.number >>> 0).toString(16).toUpperCase() + " | " + e.description);
}
try {
    core.NoSuchMethod();
    WScript.Echo("missing method: no error");
} catch (e) {
    WScript.Echo("missing method: " + (e.number & 0xFFFF));
}
WScript.Echo("done");
