// A JScript client of Quillon: prints what it sees.
var core = new ActiveXObject("Quillon.qfcLibCore");
core.InitCore("Vantorel", "Vantorel", "C:\\Games\\", 1, 1, 32);
WScript.Echo(core.GetAppVersion() + " " + core.GetAppVersion() + " " + core.GetAppVersion(true));
try {
    new ActiveXObject("Quillon.qfcLibFiles").FileExists("a\0b");
} catch (e) {
    WScript.Echo((e.number >>> 0).toString(16).toUpperCase() + " | " + e.description);
}
try {
    core.InitCore();
} catch (e) {
    WScript.Echo((e.number >>> 0).toString(16).toUpperCase() + " | " + e.description);
}
