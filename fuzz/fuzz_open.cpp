// Arbitrary bytes opened as a file, then edited, saved and opened again in a
// fresh document. Whatever the file held:
//   - the saved text opens again, to the same text, with nothing to redo;
//   - every name of the edited document is in the list of the reopened one
//     (unless that table is full), and where both of a name's lines can be
//     read, with the same drawing;
//   - undoing every edit gives back the file and the list as opened, and
//     redoing them all gives back the saved text.
//
// The input is the file's bytes up to the first NUL byte (a file with NUL
// bytes is refused anyway), then up to 12 edits: an operation byte (mod 14)
// and its argument each.
//   0-2 left press, 3 middle press, 4 right press  cell byte
//   5 choose a tool (odd: brush), 6 brush move      byte
//   7 palette click                                 colour byte
//   8 Clear Tile, 9 Remove Tile, 12 Undo, 13 Redo   -
//   10 type a name                                  name
//   11 choose a list item                           item byte
// A name is a kind byte (mod 3) and its data: 0 one of a few awkward names
// (index byte), 1 a name of the list (index byte), 2 raw bytes (length byte,
// bytes; used only when the name box could hold them: UTF-8, one line).
#include "codegen/grammar.h"
#include "codegen/reader.h"
#include "document/document.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using bitloom::Document;

// Enough edits to reach every path; more would only slow each run down.
constexpr int kMaxEdits = 12;

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    bool done() const { return at >= size; }
    int byte() { return at < size ? data[at++] : 0; }
    std::string bytes()
    {
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(byte()), size - at);
        at += n;
        return std::string(reinterpret_cast<const char*>(data + at - n), n);
    }
};

const char* const kAwkward[] = {"Sprite",          "",          "A",         "a", "A ",           "Alight",
                                "Alight[]={x",     "Adark[]={", "light[]={", "}", "\xEF\xBB\xBF", "\r",
                                "\xC4\x9E\xC3\xB6"};

std::string readName(Reader& in, const Document& d)
{
    switch (in.byte() % 3) {
    case 0: return kAwkward[static_cast<std::size_t>(in.byte()) % std::size(kAwkward)];
    case 1: {
        const int item = in.byte();
        return d.names().empty() ? "Sprite" : d.names()[static_cast<std::size_t>(item) % d.names().size()];
    }
    default: {
        std::string name = in.bytes();
        if (bitloom::refusalForCodeText(name) || name.find('\n') != std::string::npos)
            return "Sprite";
        return name;
    }
    }
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_open: %s\n", what);
    std::abort();
}

// Both declarations of the name are there and were read whole, and the
// report says so too.
bool readable(const std::string& text, const std::string& name, const bitloom::OpenReport& report)
{
    for (const auto plane : {bitloom::Plane::Light, bitloom::Plane::Dark}) {
        const auto declaration = bitloom::grammar::findDeclaration(text, name, plane);
        if (!declaration)
            return false;
        const bool reported =
            std::find(report.unreadableLines.begin(), report.unreadableLines.end(), declaration->line)
            != report.unreadableLines.end();
        // The report names lines: a readable declaration may share its line
        // with an unreadable one, which is then rightly reported.
        const auto sharesWithUnreadable = [&] {
            for (const auto& other : bitloom::grammar::scanDeclarations(text))
                if (!other.readable && other.line == declaration->line)
                    return true;
            return false;
        };
        if (declaration->readable ? reported && !sharesWithUnreadable() : !reported)
            fail("an unreadable declaration is not reported, or a readable one is");
        if (!declaration->readable)
            return false;
    }
    return true;
}

// Whether either identifier of the sprite is declared more than once: a
// file that already held such a redefinition (which does not compile, and
// which check reports) may read another of them as the plane on reopening.
bool declaredTwice(const std::string& text, const std::string& name)
{
    int light = 0, dark = 0;
    for (const auto& array : bitloom::grammar::scanByteArrays(text)) {
        light += array.name == name + "light";
        dark += array.name == name + "dark";
    }
    return light > 1 || dark > 1;
}

const bitloom::SpriteEntry* entryOf(const Document& d, const std::string& name)
{
    const auto entry = bitloom::findEntry(d.table(), name);
    return entry ? &d.table()[static_cast<std::size_t>(*entry)] : nullptr;
}

} // namespace

// Each run allocates many short strings: a short allocation history and a
// small quarantine keep AddressSanitizer's bookkeeping from dominating the
// run time. A report still names the faulty access and its stack.
extern "C" const char* __asan_default_options()
{
    return "malloc_context_size=2:quarantine_size_mb=16";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using bitloom::MouseButton;
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
    const std::size_t textSize = nul ? static_cast<std::size_t>(nul - data) : size;
    const std::string file(reinterpret_cast<const char*>(data), textSize);
    Reader in{data, size, nul ? textSize + 1 : size};

    Document d;
    if (d.open(file, "in.h")) {
        if (!d.code().empty() || !d.names().empty() || !d.filePath().empty())
            fail("a refused file changed the document");
        return 0;
    }
    if (d.code() != file || d.modified())
        fail("the opened text is not the file");
    const std::vector<std::string> openedNames = d.names();

    for (int edits = 0; edits < kMaxEdits && !in.done(); ++edits) {
        switch (in.byte() % 14) {
        case 0:
        case 1:
        case 2: d.press(in.byte() % 64, MouseButton::Left); break;
        case 3: d.press(in.byte() % 64, MouseButton::Middle); break;
        case 4: d.press(in.byte() % 64, MouseButton::Right); break;
        case 5: in.byte() % 2 ? d.chooseBrush() : d.choosePen(); break;
        case 6: d.moveOver(in.byte() % 64); break;
        case 7: d.selectColour(in.byte() % 4); break;
        case 8: d.clearTile(); break;
        case 9: d.removeTile(); break;
        case 10: d.typeName(readName(in, d)); break;
        case 11:
            d.chooseName(in.byte() % static_cast<int>(std::max<std::size_t>(d.names().size(), 1)));
            break;
        case 12: d.undo(); break;
        default: d.redo(); break;
        }
    }

    const std::string saved = d.textToSave();
    Document again;
    bitloom::OpenReport report;
    if (again.open(saved, "out.h", &report))
        fail("the saved text is refused");
    if (again.code() != saved || again.textToSave() != saved || again.canUndo() || again.modified())
        fail("the reopened text differs");
    for (const std::string& name : d.names()) {
        if (std::count(d.names().begin(), d.names().end(), name) != 1)
            fail("a name is listed twice");
        const bool listed =
            std::find(again.names().begin(), again.names().end(), name) != again.names().end();
        if (!listed && report.notRegistered.empty() && !declaredTwice(saved, name))
            fail("a name is missing after reopening");
        // The empty name shares the last free entry instead of having one.
        if (!listed || name.empty() || !readable(saved, name, report))
            continue;
        const auto* was = entryOf(d, name);
        const auto* is = entryOf(again, name);
        if (!was || !is || was->shades != is->shades)
            fail("a drawing differs after reopening");
    }

    const bool couldRedo = d.canRedo();
    int steps = 0;
    while (d.canUndo()) {
        d.undo();
        ++steps;
    }
    if (d.code() != file || d.names() != openedNames || d.modified())
        fail("undoing every edit does not give back the file");
    for (; steps > 0; --steps)
        d.redo();
    if (d.code() != saved || d.canRedo() != couldRedo)
        fail("redoing every edit does not give back the saved text");
    return 0;
}
