// Arbitrary bytes decoded into an editing session; after every step the
// program must agree with the model in tests/core/oracle.h.
//
// Each step is an operation byte (value mod 12) and its argument:
//   0-2 left press, 3 middle press, 4 right press  cell byte
//   5 choose a tool (odd: brush), 6 brush move      byte
//   7 palette click                                 colour byte
//   8 Clear Tile                                    -
//   9 type a name, 11 set the name without recall   name
//   10 choose a list item                           item byte
// A name is a kind byte and its data, by kind % 4:
//   0 raw bytes (length byte, bytes)
//   1 a name used before (index byte)
//   2 a name used before (index byte) varied (variation byte, raw bytes)
//   3 one byte repeated (byte, two length bytes; up to 12,000)
#include "oracle.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    int byte() { return at < size ? data[at++] : 0; }
    std::string bytes()
    {
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(byte()), size - at);
        at += n;
        return std::string(reinterpret_cast<const char*>(data + at - n), n);
    }
};

std::string varied(std::string base, int how, const std::string& extra)
{
    switch (how % 7) {
    case 0: return base + extra;
    case 1: return extra + base;
    case 2: return base + "light[]={" + extra;
    case 3: return base + "dark[]={" + extra;
    case 4: return base + " ";
    case 5: return base.substr(0, base.size() / 2);
    default: // the other letter case
        for (char& c : base)
            c = (c | 0x20) >= 'a' && (c | 0x20) <= 'z' ? static_cast<char>(c ^ 0x20) : c;
        return base;
    }
}

std::string readName(Reader& in, std::vector<std::string>& used)
{
    const int kind = in.byte() % 4;
    std::string name;
    if (kind == 0) {
        name = in.bytes();
    } else if (kind == 3) {
        const char c = static_cast<char>(in.byte());
        const int high = in.byte();
        name.assign(static_cast<std::size_t>((high << 8 | in.byte()) % 12001), c);
    } else {
        name = used[static_cast<std::size_t>(in.byte()) % used.size()];
        if (kind == 2) {
            const int how = in.byte();
            name = varied(name, how, in.bytes());
        }
    }
    if (used.size() < 64)
        used.push_back(bitloom::oracle::singleLine(name));
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using bitloom::MouseButton;
    Reader in{data, size};
    bitloom::oracle::Session session;
    std::vector<std::string> used = {"Sprite"};
    while (in.at < in.size) {
        const int op = in.byte() % 12;
        switch (op) {
        case 0:
        case 1:
        case 2: session.press(in.byte(), MouseButton::Left); break;
        case 3: session.press(in.byte(), MouseButton::Middle); break;
        case 4: session.press(in.byte(), MouseButton::Right); break;
        case 5: session.chooseTool(in.byte() % 2 == 1); break;
        case 6: session.move(in.byte()); break;
        case 7: session.selectColour(in.byte()); break;
        case 8: session.clear(); break;
        case 9: session.type(readName(in, used)); break;
        case 10: session.choose(static_cast<std::size_t>(in.byte())); break;
        default: session.type(readName(in, used)); break;
        }
        if (const std::string failure = session.check(); !failure.empty()) {
            std::fprintf(stderr, "after operation %d: %s\n", op, failure.c_str());
            std::abort();
        }
    }
    return 0;
}
