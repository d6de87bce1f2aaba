#include "app/VersionRecord.h"

#include "app/VersionRecordData.h"

#include <array>

namespace {

struct VersionValue {
    std::string_view path;
    std::string_view text;
};

#if CARILLIX_HAS_VERSION_RECORD
constexpr std::array kRecord{
    VersionValue{kCompanyNamePath, CARILLIX_COMPANY_NAME},
    VersionValue{kFileDescriptionPath, CARILLIX_FILE_DESCRIPTION},
    VersionValue{kProductVersionPath, CARILLIX_PRODUCT_VERSION},
    VersionValue{kLegalCopyrightPath, CARILLIX_LEGAL_COPYRIGHT},
};
#else
constexpr std::array<VersionValue, 0> kRecord{};
#endif

}  // namespace

bool HasVersionRecord()
{
    return !kRecord.empty();
}

bool QueryVersionValue(std::string_view path, std::string& text)
{
    for (const VersionValue& value : kRecord) {
        if (value.path == path) {
            text = value.text;
            return true;
        }
    }
    return false;
}
