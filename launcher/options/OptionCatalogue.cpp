// The game's command-line options offered on the first tab, with what each does.
#include "OptionCatalogue.h"

namespace vantorel::catalogue {

const Option kOptions[kOptionCount] = {
    {L"-nointro",
      L"Skips the intro movie."},
    {L"-framecap [fps]",
      L"Limits the framerate to the number of frames per second specified. Descent 3 defaults to a cap of "
      L"50 FPS.  To remove the cap, use the command-line option '-framecap 0'."},
    {L"-nomusic",
      L"Disables music."},
    {L"-nooutragelogo",
      L"Disables the Outrage logo that is normally displayed for five seconds at the start of a multiplayer "
      L"game."},
    {L"-playermessages",
      L"Disables all weapon-related HUD messages in multiplayer games. Example: If you see and grab the "
      L"Plasma Cannon, you do not need to be told that you picked it up. Also, when you already have the "
      L"Plasma Cannon, you do not need to be informed that you already have it."},
    {L"-nomultibmp",
      L"Disables sending or receiving ship logos and audio taunts."},
    {L"-useport [port]",
      L"Specifies the port that TCP/IP and IPX will use. The default is 2092."},
    {L"-useip [ip]",
      L"Binds Descent 3 to this IP address. Use this option to tell D3 which IP address to use if your "
      L"computer has multiple IP addresses."},
    {L"-usesmoothing",
      L"Enables code to smooth the interpoloation for fast-moving objects. This will help fix 'skipping' "
      L"problems with fast objects, such as the Phoenix. This option applies to clients only; using it on "
      L"the server has no effect."},
    {L"-nosparkles",
      L"Disables powerup sparkles (Pentium III only)."},
    {L"-norenderwindows",
      L"Causes all windows to be fully transparent. Use this option if your card does not correctly render "
      L"partially-tranparent windows."},
    {L"-lowmem",
      L"Uses scaled-down textures and lower quality (8-bit) sounds to conserve memory."},
    {L"-superlowmem",
      L"Uses the '-lowmem' settings and further scales down textures to conserve memory."},
    {L"-himem",
      L"Forces normal operations even when low memory conditions are detected."},
    {L"-vsync",
      L"Turns on Vertical Sync. The flag will be enabled in the registry so it will be on when the game is "
      L"run again."},
    {L"-mouseman",
      L"Enables special handling for the Logitech MouseMan."},
    {L"-chpro",
      L"Enables a CH Flightstick Pro or compatible joystick."},
    {L"-width [width]",
      L"Sets the screen resolution to the specified [width] in pixels, if possible."},
    {L"-height [height]",
      L"Sets the screen resolution to the specified [height] in pixels, if possible."},
    {L"-nonetwork",
      L"Disables all network multiplayer functionality."},
    {L"-nolightmaps",
      L"Disables lightmaps. This will improve performance on low-end video cards."},
    {L"-forcelightmaps",
      L"Forces the use of lightmaps, even the Default Detail Level is set to Low in the launcher setup."},
    {L"-nomultitexture",
      L"Disables single-pass multitexturing. This option could fix problems due to buggy drivers on future "
      L"video cards."},
    {L"-nooutdoorfog",
      L"Disables fog on the terrain under Direct3D. This may improve performance on some cards."},
    {L"-setdir [path]",
      L"Specifies the working directory for Descent 3. Path must be in DOS 8.3 spec if it contains spaces."},
    {L"-useexedir",
      L"Tells Descent 3 to use the directory in which the executable is located as the working directory."},
    {L"-alternatejoy",
      L"Causes DirectInput to be used for the joystick or other game controller, instead of standard "
      L"Windows API.  Some joysticks need this option to work with Descent 3."},
    {L"-directinput",
      L"Causes DirectInput to be used for the joystick or other game controller, instead of standard "
      L"Windows API.  Some joysticks need this option to work with Descent 3."},
    {L"-aspect [ratio]",
      L"Specifies the screen aspect ratio for non-standard displays, such as wide-screen TVs. The aspect "
      L"value is the width of the screen divided by the height, so if you want to play Descent 3 on a 16:9 "
      L"wide-screen TV, use '-aspect 1.78'."},
    {L"-z32bit",
      L"Enables the 32-bit z-buffer on cards that support it, such as the Matrox G400."},
    {L"-deadzone0 [k]",
      L"Specifies the size of the deadzone for the primary joystick. [k] is a value from 0.0 to 0.5 sets "
      L"the deadzone to the specified fraction of the total joystick range. For example, '-deadzone0 0.2' "
      L"sets the deadzone for the primary joystick to 20% of its total range."},
    {L"-deadzone1 [k]",
      L"Specifies the size of the deadzone for the secondary joystick. [k] is a value from 0.0 to 0.5 sets "
      L"the deadzone to the specified fraction of the total joystick range. For example, '-deadzone0 0.2' "
      L"sets the deadzone for the secondary joystick to 20% of its total range."},
    {L"-nopentium3",
      L"Disables detection of the Pentium III processor. Some early P3 machines may not work correctly with "
      L"Descent 3; if you have troubles, try this option."},
    {L"-mlooksens [scale]",
      L"If Mouselook is enabled, this determines how much the player moves when the mouse is moved.  The "
      L"default value is 9.1; smaller values give more precision."},
    {L"-httpproxy [ip:port]",
      L"Specifies an HTTP proxy server. Descent 3 uses HTTP to auto-download missions; use this option if "
      L"your ISP requires the use of a proxy server for HTTP connections. If no port is specified, the "
      L"default is 80."},
};

} // namespace vantorel::catalogue
