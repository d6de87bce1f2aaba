#include "ringing/MethodLibrary.h"

#include "base/AsciiCase.h"
#include "base/MessageQuote.h"
#include "base/ParseInteger.h"
#include "ringing/Method.h"
#include "ringing/PlaceNotation.h"
#include "ringing/RowText.h"

#include <expat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxDepth = 256;
constexpr std::size_t kMaxFieldBytes = 4096;
constexpr int kReadPiece = 256 * 1024;

// Where an open element stands in the collection.
enum class Element {
    Collection,
    MethodSet,
    SetProperties,
    Method,
    MethodProperties,
    Title,
    Notation,
    Stage,
    LengthOfLead,
    LeadHead,
    Other,
};

// Text of an element the reader keeps; `tooLong` once it passed kMaxFieldBytes.
struct Field {
    std::optional<std::string> text;
    bool tooLong = false;
};

struct Properties {
    Field stage;
    Field lengthOfLead;
    Field leadHead;
};

struct PendingMethod {
    long line = 0;
    Field title;
    Field notation;
    Properties own;
};

std::string_view LocalName(const XML_Char* name)
{
    const std::string_view full(name);
    const std::size_t colon = full.rfind(':');
    return colon == std::string_view::npos ? full : full.substr(colon + 1);
}

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A field's text without surrounding blanks; empty when not given.
std::string_view TextOf(const Field& field)
{
    return field.text ? Trimmed(*field.text) : std::string_view();
}

// A property's whole number (ParseInteger), of any size that 64 bits hold.
std::optional<std::int64_t> WholeNumber(std::string_view text)
{
    return ParseInteger(text, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max());
}

// True when `text` writes `row` on `stage` bells, its letters in either case.
bool IsRowText(std::string_view text, const Row& row, int stage)
{
    if (text.size() != static_cast<std::size_t>(stage))
        return false;
    for (int q = 0; q < stage; ++q) {
        const char c = text[static_cast<std::size_t>(q)];
        if (AsciiUpper(c) != kBellSymbols[static_cast<std::size_t>(row[q])])
            return false;
    }
    return true;
}

// `whole` cut down to `trimmed`, a view into it, without copying when nothing is cut.
std::string Taken(std::string& whole, std::string_view trimmed)
{
    if (trimmed.size() == whole.size())
        return std::move(whole);
    return std::string(trimmed);
}

// "1.2 GB" and the like, for a refused file's size.
std::string Size(std::int64_t bytes)
{
    const char* units[] = {"bytes", "KB", "MB", "GB", "TB"};
    double size = static_cast<double>(bytes);
    int unit = 0;
    while (size >= 1024 && unit < 4) {
        size /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", size, units[unit]);
    return text;
}

class LibraryReader {
public:
    explicit LibraryReader(std::string name) : name(std::move(name)), parser(XML_ParserCreate(nullptr))
    {
        if (parser == nullptr)
            return;
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &LibraryReader::OnStart, &LibraryReader::OnEnd);
        XML_SetCharacterDataHandler(parser, &LibraryReader::OnText);
        XML_SetEntityDeclHandler(parser, &LibraryReader::OnEntityDeclaration);
    }
    ~LibraryReader()
    {
        if (parser != nullptr)
            XML_ParserFree(parser);
    }
    LibraryReader(const LibraryReader&) = delete;
    LibraryReader& operator=(const LibraryReader&) = delete;

    // Parses the next piece of the file; false once the file is refused.
    bool Feed(const char* bytes, int size, bool last)
    {
        if (parser == nullptr)
            return Refuse("not enough memory to read it");
        return Parsed(XML_Parse(parser, bytes, size, last ? XML_TRUE : XML_FALSE));
    }

    // Where the next `size` bytes go, in the parser's own buffer, for
    // FeedBuffer; nullptr when memory cannot be had.
    char* Buffer(int size) { return parser != nullptr ? static_cast<char*>(XML_GetBuffer(parser, size)) : nullptr; }

    // Parses the `size` bytes written to Buffer; false once the file is refused.
    bool FeedBuffer(int size, bool last) { return Parsed(XML_ParseBuffer(parser, size, last ? XML_TRUE : XML_FALSE)); }

    bool Refuse(const std::string& why)
    {
        stopped = true;
        library = MethodLibrary{};
        library.fault = "method library " + MessageQuote(name, kMessagePathBytes) + ": " + why;
        return false;
    }

    MethodLibrary Take() { return std::move(library); }

private:
    bool Parsed(XML_Status status)
    {
        if (status == XML_STATUS_OK)
            return true;
        if (library.fault.empty())
            RefuseAtLine(XML_ErrorString(XML_GetErrorCode(parser)));
        return false;
    }

    void RefuseAtLine(const std::string& why)
    {
        Refuse("line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " + why);
    }

    void Stop(const std::string& why)
    {
        RefuseAtLine(why);
        XML_StopParser(parser, XML_FALSE);
    }

    Element Classify(std::string_view local) const
    {
        if (open.empty())
            return Element::Collection;
        switch (open.back()) {
        case Element::Collection:
            if (local == "methodSet")
                return Element::MethodSet;
            return local == "method" ? Element::Method : Element::Other;
        case Element::MethodSet:
            if (local == "properties")
                return Element::SetProperties;
            return local == "method" ? Element::Method : Element::Other;
        case Element::Method:
            if (local == "title")
                return Element::Title;
            if (local == "notation")
                return Element::Notation;
            if (local == "properties")
                return Element::MethodProperties;
            return PropertyElement(local);
        case Element::SetProperties:
        case Element::MethodProperties: return PropertyElement(local);
        default: return Element::Other;
        }
    }

    static Element PropertyElement(std::string_view local)
    {
        if (local == "stage")
            return Element::Stage;
        if (local == "lengthOfLead")
            return Element::LengthOfLead;
        return local == "leadHead" ? Element::LeadHead : Element::Other;
    }

    // The field an open element's text goes to, or nullptr.
    Field* Target(Element element)
    {
        if (open.size() < 2)
            return nullptr;
        const Element parent = open[open.size() - 2];
        if (element == Element::Title && method)
            return &method->title;
        if (element == Element::Notation && method)
            return &method->notation;
        Properties* properties = nullptr;
        if (parent == Element::SetProperties)
            properties = &setProperties;
        else if ((parent == Element::Method || parent == Element::MethodProperties) && method)
            properties = &method->own;
        if (properties == nullptr)
            return nullptr;
        if (element == Element::Stage)
            return &properties->stage;
        if (element == Element::LengthOfLead)
            return &properties->lengthOfLead;
        return element == Element::LeadHead ? &properties->leadHead : nullptr;
    }

    void Start(const XML_Char* name)
    {
        if (stopped)
            return;
        if (open.size() == kMaxDepth) {
            Stop("elements are nested more than " + std::to_string(kMaxDepth) + " deep");
            return;
        }
        const std::string_view local = LocalName(name);
        if (open.empty() && local != "collection") {
            Stop("not a method collection: its root element is '" + MessageQuote(local) + "', not 'collection'");
            return;
        }
        const Element element = Classify(local);
        open.push_back(element);
        if (element == Element::Method) {
            method.emplace();
            method->line = static_cast<long>(XML_GetCurrentLineNumber(parser));
        } else if (element == Element::MethodSet) {
            setProperties = Properties{};
        }
        text = Target(element);
        if (text != nullptr)
            *text = Field{std::string(), false};
    }

    void End()
    {
        if (stopped)
            return;
        const Element element = open.back();
        text = nullptr;
        if (element == Element::Method && method) {
            if (open.size() >= 2 && open[open.size() - 2] == Element::MethodSet)
                pending.push_back(std::move(*method));
            else
                Resolve(std::move(*method), Properties{});
            method.reset();
        } else if (element == Element::MethodSet) {
            for (PendingMethod& each : pending)
                Resolve(std::move(each), setProperties);
            pending.clear();
        }
        open.pop_back();
    }

    void Text(const XML_Char* bytes, int length)
    {
        if (stopped || text == nullptr || text->tooLong)
            return;
        std::string& kept = *text->text;
        if (kept.size() + static_cast<std::size_t>(length) > kMaxFieldBytes) {
            text->tooLong = true;
            kept.append(bytes, kMaxFieldBytes - kept.size());
            return;
        }
        kept.append(bytes, static_cast<std::size_t>(length));
    }

    // The method's property if it gives one, else its set's.
    static const Field& Effective(const Field& own, const Field& set) { return own.text ? own : set; }

    void Skip(const PendingMethod& pendingMethod, const std::string& why)
    {
        const std::string title(TextOf(pendingMethod.title));
        std::string line = "line " + std::to_string(pendingMethod.line) + ": ";
        if (!title.empty())
            line.append("'").append(MessageQuote(title, kQuotedTitleBytes)).append("': ");
        library.skipped.push_back(line.append(why));
    }

    // Checks a method and keeps it, taking its strings.
    void Resolve(PendingMethod&& each, const Properties& set)
    {
        const Field& stageField = Effective(each.own.stage, set.stage);
        const std::optional<std::int64_t> stage = WholeNumber(TextOf(stageField));
        if (stage && *stage > kMaxStage) {
            ++library.aboveMaxStage;
            return;
        }
        const std::string_view title = TextOf(each.title);
        if (title.empty())
            return Skip(each, "a method without a title");
        if (each.title.tooLong || each.notation.tooLong)
            return Skip(each, "its title or notation is longer than " + std::to_string(kMaxFieldBytes) + " bytes");
        if (!stageField.text)
            return Skip(each, "no stage is given");
        if (!stage || *stage < kMinStage)
            return Skip(each, "stage '" + MessageQuote(Trimmed(*stageField.text)) + "' is not a number of bells from " +
                                  std::to_string(kMinStage));
        const std::string_view notation = TextOf(each.notation);
        const int bells = static_cast<int>(*stage);
        MethodRead read = ReadMethod(std::string(), notation, bells);
        if (!read.fault.empty())
            return Skip(each, "place notation '" + MessageQuote(notation) + "': " + read.fault);
        const std::vector<Change>& lead = read.method.lead;

        const Field& lengthField = Effective(each.own.lengthOfLead, set.lengthOfLead);
        const std::string_view length = TextOf(lengthField);
        if (!length.empty() && WholeNumber(length) != static_cast<std::int64_t>(lead.size()))
            return Skip(each, "its notation gives " + std::to_string(lead.size()) + " changes a lead, not the file's " +
                                  MessageQuote(length));
        Row leadHead = HomeRow();
        for (const Change& change : lead)
            ApplyChange(change, leadHead);
        const Field& headField = Effective(each.own.leadHead, set.leadHead);
        const std::string_view head = TextOf(headField);
        if (!head.empty() && !IsRowText(head, leadHead, bells))
            return Skip(each, "its notation leads to " + RowText(leadHead, bells) + ", not the file's lead head " +
                                  MessageQuote(head));

        LibraryMethod kept;
        kept.title = Taken(*each.title.text, title);
        kept.stage = bells;
        kept.notation = std::move(read.method.notation);
        const Change& leadEnd = lead.back();
        for (int q = 0; q < bells; ++q)
            if (leadEnd[q] == q)
                kept.leadEndPlaces |= 1u << q;
        library.methods.push_back(std::move(kept));
    }

    static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char**)
    {
        static_cast<LibraryReader*>(self)->Start(name);
    }
    static void XMLCALL OnEnd(void* self, const XML_Char*) { static_cast<LibraryReader*>(self)->End(); }
    static void XMLCALL OnText(void* self, const XML_Char* bytes, int length)
    {
        static_cast<LibraryReader*>(self)->Text(bytes, length);
    }
    static void XMLCALL OnEntityDeclaration(void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                            const XML_Char*, const XML_Char*, const XML_Char*)
    {
        static_cast<LibraryReader*>(self)->Stop("entity declarations are not accepted");
    }

    std::string name;
    XML_Parser parser;
    MethodLibrary library;
    std::vector<Element> open;  // the open elements, outermost first
    Properties setProperties;   // of the open method set
    std::optional<PendingMethod> method;
    std::vector<PendingMethod> pending;  // the open set's methods, resolved when it closes
    Field* text = nullptr;               // where the open element's text goes
    bool stopped = false;                // refused: later callbacks are ignored
};

// Closes a file descriptor when it goes out of scope.
struct FileCloser {
    int descriptor;
    ~FileCloser() { close(descriptor); }
};

}  // namespace

MethodLibrary ReadMethodLibraryText(std::string_view text, const std::string& name)
{
    LibraryReader reader(name);
    if (static_cast<std::int64_t>(text.size()) > kMaxLibraryBytes) {
        reader.Refuse(Size(static_cast<std::int64_t>(text.size())) + " is more than a method library may be (" +
                      Size(kMaxLibraryBytes) + ")");
        return reader.Take();
    }
    do {
        const int piece = static_cast<int>(std::min<std::size_t>(text.size(), kReadPiece));
        if (!reader.Feed(text.data(), piece, static_cast<std::size_t>(piece) == text.size()))
            break;
        text.remove_prefix(static_cast<std::size_t>(piece));
    } while (!text.empty());
    return reader.Take();
}

MethodLibrary ReadMethodLibraryFile(const std::string& path)
{
    LibraryReader reader(path);
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        reader.Refuse(std::strerror(errno));
        return reader.Take();
    }
    const FileCloser closer{descriptor};
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        reader.Refuse(S_ISDIR(status.st_mode) ? "a folder, not a file" : std::strerror(errno));
        return reader.Take();
    }
    const auto tooLarge = [&](std::int64_t size) {
        return reader.Refuse(Size(size) + " is more than a method library may be (" + Size(kMaxLibraryBytes) + ")");
    };
    if (S_ISREG(status.st_mode) && status.st_size > kMaxLibraryBytes) {
        tooLarge(status.st_size);
        return reader.Take();
    }
    std::int64_t total = 0;
    for (;;) {
        char* piece = reader.Buffer(kReadPiece);
        if (piece == nullptr) {
            reader.Refuse("not enough memory to read it");
            break;
        }
        const ssize_t got = read(descriptor, piece, kReadPiece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reader.Refuse(std::strerror(errno));
            break;
        }
        total += got;
        if (total > kMaxLibraryBytes) {
            tooLarge(total);
            break;
        }
        if (!reader.FeedBuffer(static_cast<int>(got), got == 0))
            break;
        if (got == 0)
            break;
    }
    return reader.Take();
}

std::string DefaultMethodLibraryPath()
{
    constexpr const char* kWithin = "/carillix/methods.xml";
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0')
        return std::string(data) + kWithin;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::string(home) + "/.local/share" + kWithin;
    return "";
}
