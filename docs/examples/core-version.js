// qfcLibCore from JScript: run-time errors arrive as exceptions whose number is 0x800A0000 + n.
// Run: cscript //nologo core-version.js <scratch folder> <application title>
var args = WScript.Arguments;
var core = new ActiveXObject("Quillon.qfcLibCore");
core.InitCore("Example", args(1), args(0), 1, 0, 3);
WScript.Echo(core.GetAppVersion(true));
try {
    core.InitCore("Example", "bad\0title", args(0), 1, 0, 3);
} catch (e) {
    WScript.Echo((e.number & 0xFFFF) + ": " + e.description);
}
// Prints:
// v1.0.3
// 5: Invalid procedure call or argument: a name holds a NUL character
