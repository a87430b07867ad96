// Every window of the program carries the program's icon, large for Alt+Tab and the taskbar, small
// for the caption, each at the size the system draws it.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

#include "app/calc_form.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "app/main_form.h"
#include "support/icon_size.h"

namespace {

TEST(ProgramIcon, EveryWindowHasALargeAndASmallIconAtTheSystemSizes) {
  const std::pair<int, int> large{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  const std::pair<int, int> small{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)};
  const std::pair<const char*, ui::Form*> windows[] = {
      {"main", MainForm}, {"verification", CompareForm}, {"creation", CalcForm}, {"text view", CalcViewForm}};
  for (const auto& [name, form] : windows) {
    SCOPED_TRACE(name);
    const HWND window = form->Handle();
    ASSERT_NE(window, nullptr);
    const auto bigIcon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    const auto smallIcon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
    EXPECT_EQ(IconSize(bigIcon), large);
    EXPECT_EQ(IconSize(smallIcon), small);
  }
}

}  // namespace
