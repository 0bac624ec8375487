// The user's decimal separator, as the locale settings hold it right now.
#include <windows.h>

#include "ui/settings_text.h"

namespace morrowick {

char UserDecimalSeparator() {
  char text[8] = "";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) < 2) return '.';
  return text[0];
}

}  // namespace morrowick
