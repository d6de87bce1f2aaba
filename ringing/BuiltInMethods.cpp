#include "ringing/BuiltInMethods.h"

#include "base/AsciiCase.h"
#include <cstddef>

namespace {

constexpr MethodEntry kMethods[] = {
    {"Plain Bob Minimus", 4, "-14-14,12", "14", "1234", CallPosition::LeadEnd},
    {"Plain Bob Doubles", 5, "5.1.5.1.5,125", "145", "123", CallPosition::LeadEnd},
    {"Plain Bob Minor", 6, "-16-16-16,12", "14", "1234", CallPosition::LeadEnd},
    {"Plain Bob Triples", 7, "7.1.7.1.7.1.7,127", "", "", CallPosition::LeadEnd},
    {"Plain Bob Major", 8, "-18-18-18-18,12", "14", "1234", CallPosition::LeadEnd},
    {"Plain Bob Caters", 9, "9.1.9.1.9.1.9.1.9,129", "", "", CallPosition::LeadEnd},
    {"Plain Bob Royal", 10, "-10-10-10-10-10,12", "14", "1234", CallPosition::LeadEnd},
    {"Plain Bob Cinques", 11, "E.1.E.1.E.1.E.1.E.1.E,12E", "", "", CallPosition::LeadEnd},
    {"Plain Bob Maximus", 12, "-1T-1T-1T-1T-1T-1T,12", "14", "1234", CallPosition::LeadEnd},
    {"Plain Bob Fourteen", 14, "-1B-1B-1B-1B-1B-1B-1B,12", "14", "1234", CallPosition::LeadEnd},
    {"Plain Bob Sixteen", 16, "-1D-1D-1D-1D-1D-1D-1D-1D,12", "14", "1234", CallPosition::LeadEnd},
    {"Grandsire Doubles", 5, "3,1.5.1.5.1", "3.1", "3.123", CallPosition::LeadEnd},
    {"Grandsire Triples", 7, "3,1.7.1.7.1.7.1", "3.1", "3.123", CallPosition::LeadEnd},
    {"Grandsire Caters", 9, "3,1.9.1.9.1.9.1.9.1", "3.1", "3.123", CallPosition::LeadEnd},
    {"Grandsire Cinques", 11, "3,1.E.1.E.1.E.1.E.1.E.1", "3.1", "3.123", CallPosition::LeadEnd},
    {"Stedman Doubles", 5, "3.1.5.3.1.3.1.3.5.1.3.1", "", "", CallPosition::SixEnd},
    {"Stedman Triples", 7, "3.1.7.3.1.3.1.3.7.1.3.1", "5", "567", CallPosition::SixEnd},
    {"Stedman Caters", 9, "3.1.9.3.1.3.1.3.9.1.3.1", "7", "789", CallPosition::SixEnd},
    {"Stedman Cinques", 11, "3.1.E.3.1.3.1.3.E.1.3.1", "9", "90E", CallPosition::SixEnd},
    {"St Simon's Bob Doubles", 5, "5.1.5.3.5,125", "", "", CallPosition::LeadEnd},
    {"Reverse Canterbury Pleasure Place Doubles", 5, "345.1.5.1.5,125", "", "", CallPosition::LeadEnd},
    {"St Clement's College Bob Minor", 6, "-16-36-36,12", "14", "1234", CallPosition::LeadEnd},
    {"Double Oxford Bob Minor", 6, "-14-36-56,12", "14", "1234", CallPosition::LeadEnd},
    {"Single Oxford Bob Minor", 6, "-14-16-16,12", "14", "1234", CallPosition::LeadEnd},
    {"Kent Treble Bob Minor", 6, "34-34.16-12-16-12-16,16", "", "", CallPosition::LeadEnd},
    {"Oxford Treble Bob Minor", 6, "-34-16-12-16-12-16,16", "", "", CallPosition::LeadEnd},
    {"Cambridge Surprise Minor", 6, "-36-14-12-36-14-56,12", "14", "1234", CallPosition::LeadEnd},
    {"Primrose Surprise Minor", 6, "-36-14-12-36-14-56,16", "", "", CallPosition::LeadEnd},
    {"Ipswich Surprise Minor", 6, "-36-14-12-36-14-16,12", "14", "1234", CallPosition::LeadEnd},
    {"Norwich Surprise Minor", 6, "-34-14-12-36-34-16,16", "", "", CallPosition::LeadEnd},
    {"Beverley Surprise Minor", 6, "-36-14-12-36.14-34.56,12", "14", "1234", CallPosition::LeadEnd},
    {"Surfleet Surprise Minor", 6, "-36-14-12-36.14-12.56,12", "14", "1234", CallPosition::LeadEnd},
    {"London Surprise Minor", 6, "36-36.14-12-36.14-14.36,12", "14", "1234", CallPosition::LeadEnd},
    {"Erin Triples", 7, "7.3.1.3.1.3", "", "", CallPosition::LeadEnd},
    {"Little Bob Major", 8, "-18-14,12", "14", "1234", CallPosition::LeadEnd},
    {"Double Norwich Court Bob Major", 8, "-14-36-58-18,18", "16", "1678", CallPosition::LeadEnd},
    {"Kent Treble Bob Major", 8, "34-34.18-12-18-12-18-12-18,18", "", "", CallPosition::LeadEnd},
    {"Oxford Treble Bob Major", 8, "-34-18-12-18-12-18-12-18,18", "", "", CallPosition::LeadEnd},
    {"Cambridge Surprise Major", 8, "-38-14-1258-36-14-58-16-78,12", "14", "1234", CallPosition::LeadEnd},
    {"Yorkshire Surprise Major", 8, "-38-14-58-16-12-38-14-78,12", "14", "1234", CallPosition::LeadEnd},
    {"Lincolnshire Surprise Major", 8, "-38-14-58-16-14-58-36-78,12", "14", "1234", CallPosition::LeadEnd},
    {"Superlative Surprise Major", 8, "-36-14-58-36-14-58-36-78,12", "14", "1234", CallPosition::LeadEnd},
    {"Rutland Surprise Major", 8, "-38-14-58-16-14-38-34-18,12", "14", "1234", CallPosition::LeadEnd},
    {"Pudsey Surprise Major", 8, "-58-16-12-38-14-58-16-78,12", "14", "1234", CallPosition::LeadEnd},
    {"Bristol Surprise Major", 8, "-58-14.58-58.36.14-14.58-14-18,18", "16", "1678", CallPosition::LeadEnd},
    {"London Surprise Major", 8, "38-38.14-12-38.14-14.58.16-16.58,12", "14", "1234", CallPosition::LeadEnd},
    {"Kent Treble Bob Royal", 10, "34-34.10-12-10-12-10-12-10-12-10,10", "", "", CallPosition::LeadEnd},
    {"Cambridge Surprise Royal", 10, "-30-14-1250-36-1470-58-16-70-18-90,12", "14", "1234", CallPosition::LeadEnd},
    {"Yorkshire Surprise Royal", 10, "-30-14-50-16-1270-38-14-50-16-90,12", "14", "1234", CallPosition::LeadEnd},
    {"Bristol Surprise Royal", 10, "-50-14.50-50.36.14-70.58.16-16.70-16-10,10", "18", "1890", CallPosition::LeadEnd},
    {"Kent Treble Bob Maximus", 12, "34-34.1T-12-1T-12-1T-12-1T-12-1T-12-1T,1T", "", "", CallPosition::LeadEnd},
    {"Cambridge Surprise Maximus", 12, "-3T-14-125T-36-147T-58-169T-70-18-9T-10-ET,12", "14", "1234",
     CallPosition::LeadEnd},
    {"Yorkshire Surprise Maximus", 12, "-3T-14-5T-16-127T-38-149T-50-16-7T-18-ET,12", "14", "1234",
     CallPosition::LeadEnd},
    {"Bristol Surprise Maximus", 12, "-5T-14.5T-5T.36.14-7T.58.16-9T.70.18-18.9T-18-1T,1T", "10", "10ET",
     CallPosition::LeadEnd},
    {"Cambridge Surprise Fourteen", 14, "-3B-14-125B-36-147B-58-169B-70-18EB-9T-10-EB-1T-AB,12", "14", "1234",
     CallPosition::LeadEnd},
    {"Yorkshire Surprise Fourteen", 14, "-3B-14-5B-16-127B-38-149B-50-16EB-7T-18-9B-10-AB,12", "14", "1234",
     CallPosition::LeadEnd},
    {"Kent Treble Bob Fourteen", 14, "34-34.1B-12-1B-12-1B-12-1B-12-1B-12-1B-12-1B,1B", "", "", CallPosition::LeadEnd},
    {"Cambridge Surprise Sixteen", 16, "-3D-14-125D-36-147D-58-169D-70-18ED-9T-10AD-EB-1T-AD-1B-CD,12", "14", "1234",
     CallPosition::LeadEnd},
    {"Bristol Surprise Sixteen", 16, "-5D-14.5D-5D.36.14-7D.58.16-9D.70.18-ED.9T.10-AD.EB.1T-1T.AD-1T-1D,1D", "1B",
     "1BCD", CallPosition::LeadEnd},
};

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

}  // namespace

std::span<const MethodEntry> BuiltInMethods()
{
    return kMethods;
}

const MethodEntry* FindBuiltInMethod(std::string_view title)
{
    for (const MethodEntry& method : kMethods)
        if (SameIgnoringCase(method.title, title))
            return &method;
    return nullptr;
}
