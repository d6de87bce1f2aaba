#pragma once

#include <string>
#include <string_view>

// The program's own version record: a string block for language 0409 and
// code page 04B0, embedded at build time. A build configured with
// CARILLIX_VERSION_RECORD=OFF has no record at all.

// Paths of the four values the main dialog shows.
inline constexpr std::string_view kCompanyNamePath = "\\StringFileInfo\\040904B0\\CompanyName";
inline constexpr std::string_view kFileDescriptionPath = "\\StringFileInfo\\040904B0\\FileDescription";
inline constexpr std::string_view kProductVersionPath = "\\StringFileInfo\\040904B0\\ProductVersion";
inline constexpr std::string_view kLegalCopyrightPath = "\\StringFileInfo\\040904B0\\LegalCopyright";

// True when this build carries a version record.
bool HasVersionRecord();

// Looks up one string value by its full path. False, and `text` untouched,
// when there is no record or the record lacks the value.
bool QueryVersionValue(std::string_view path, std::string& text);
