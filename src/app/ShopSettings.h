#pragma once

#include <QString>

struct Session;

// The shop's printing, display and branding settings in sz.ini: every value sits
// under the key 类型 of a section named after the setting. A missing value, or the
// literal text "default", takes the program default; anything else (the empty text
// included) is used as it stands.
namespace shopsettings {

// The program defaults of the contact values shown in the about window.
extern const char *const kDefaultQQ;
extern const char *const kDefaultEmail;
extern const char *const kDefaultWebsite;
extern const char *const kDefaultPhone;

// Reads sz.ini (a missing file reads as all defaults) into the session values.
void load(Session &s, const QString &szIniPath);

} // namespace shopsettings
