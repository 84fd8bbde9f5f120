// The roads start-up hands over to: the game launch and the options dialog.
#pragma once

#include <string>

namespace vantorel {

// The ordinary run: read the launch settings, find the pilots, cull the custom
// folders and start the game (GameLaunch.cpp). A game program that is not there
// and a command line the system cannot take end it before anything is culled.
void LaunchGame();

// Loads (and so shows) the options dialog; with exitOnComplete its OK ends the launcher.
void LoadOptionsDialog(bool exitOnComplete);

// The library's welcome dialog of the first run, with the readme of the given folder.
void ShowWelcome(const std::wstring& folder);

} // namespace vantorel
