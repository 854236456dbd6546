// The About box with the maker's site as a link, and the update check.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr uint32_t kAboutBoxTemplate = 103;
constexpr int kSiteLinkId = 1025;
constexpr uint32_t kUpdateAddressCapacity = 200;  // UTF-16 units with the terminator

// The maker's site (a build setting) and the pieces of the update address.
extern const char16_t kMakerSite[];
extern const char16_t kUpdatePagePrefix[];  // kMakerSite + "/cgi-bin/upgrade?p=arm/"
constexpr const char16_t* kProductPath = u"Orvanel/Solmar";
constexpr const char16_t* kVersionSuffix = u"&v=1.84a";

struct AboutBoxState {
  platform::Font* linkFont;  // made when the box opens, deleted when it closes
};
extern AboutBoxState gAboutBox;
// Deletes a link font still held and zeroes the state.
void ResetAboutBoxState();

intptr_t AboutBoxProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);
void OpenAboutBox(platform::Window* owner);

// prefix, then path URL-encoded (space as "+"; digits, letters, "." and "/" as they are;
// any other unit as "%" and at least two upper-case hexadecimal digits), then suffix, into
// buffer of capacity units with a 0. False, with an empty buffer, when it does not fit: a
// cut address would name another page.
bool BuildUpdateAddress(char16_t* buffer, uint32_t capacity, const char16_t* prefix, const char16_t* path,
                        const char16_t* suffix);
// Opens the update page of this version with the desktop's handler.
void CheckForUpdates(platform::Window* owner);
