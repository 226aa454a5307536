// The maker's notice that the windows show in their footer and the About window beside
// its buttons.
#pragma once

namespace kavrel::ui {

inline constexpr char kMakerNotice[] = "© 2026 Kavrel";

}  // namespace kavrel::ui
