// gamehost keeps text, paths among it, as UTF-8; Windows's own calls that
// take any letter take UTF-16 ("wide") text. These convert at that border.
#ifndef FLINTMOOR_HOST_WIDE_H
#define FLINTMOOR_HOST_WIDE_H

#include <string>

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

#endif
