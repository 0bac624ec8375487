// The user's short date picture, as the locale settings hold it right now.
#include <windows.h>

#include "store/date_format.h"

namespace morrowick {

ShortDateFormat UserShortDateFormat() {
  char picture[100] = "";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture, sizeof picture);
  return ShortDateFormat(picture);
}

}  // namespace morrowick
