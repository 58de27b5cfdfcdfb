#pragma once

namespace vok {

// The launcher's process exit codes.
constexpr int kExitMenuClosed = 0;       // the player left the main menu with Cancel
constexpr int kExitPeerRunning = -1;     // the game or another launcher was already running
constexpr int kExitHandedOver = 1;       // the game was started, or DirectX setup refused
constexpr int kExitMenuUnavailable = 3;  // the main menu dialog could not be created

}  // namespace vok
