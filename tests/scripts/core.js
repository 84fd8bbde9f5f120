// A JScript client of Quillon.qfcLibCore: prints what it sees.
var core = new ActiveXObject("Quillon.qfcLibCore");
core.InitCore("Vantorel", "Vantorel", "C:\\Games\\", 1, 1, 32);
WScript.Echo(core.GetAppVersion() + " " + core.GetAppVersion() + " " + core.GetAppVersion(true));
try {
    core.ShowRunOnceDialog("Hello");
} catch (e) {
    WScript.Echo((e.number >>> 0).toString(16).toUpperCase() + " | " + e.description);
}
