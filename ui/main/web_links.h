#pragma once

namespace zelmora {

// The project's pages on the web, opened by the "Online" submenu of "Help".
inline constexpr const char* kHomePageUrl = "https://zelmora.example/";
inline constexpr const char* kContactPageUrl = "https://zelmora.example/contact";
// The user manual beside the executable (the build tree); an installed
// program finds it through the install layout instead (TfrmMain::HelpUrl).
inline constexpr const char* kHelpFile = "help/index.html";

}  // namespace zelmora
