// The roads start-up hands over to: the game launch and the options dialog.
#pragma once

namespace vantorel {

// The ordinary run: read the launch settings and start the game.
void LaunchGame();

// Loads (and so shows) the options dialog; with exitOnComplete its OK ends the launcher.
void LoadOptionsDialog(bool exitOnComplete);

} // namespace vantorel
