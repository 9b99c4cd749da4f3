// Arbitrary bytes decoded into an editing session; after every step the
// program must agree with the model in tests/core/oracle.h.
//
// Each step is one operation byte (value mod 12) followed by its argument:
//   0-2 left press, 3 middle press, 4 right press   cell byte
//   5 choose a tool (odd: brush), 6 brush move       byte
//   7 palette click                                  colour byte
//   8 Clear Tile                                     -
//   9 type a name, 11 set the name without recall    name
//   10 choose a list item                            item byte
// A name is a kind byte and its data:
//   kind % 4 == 0: a length byte and that many raw bytes
//   kind % 4 == 1: a name used before (index byte)
//   kind % 4 == 2: a name used before (index byte) joined with a variation
//                  (variation byte, then a length byte and raw bytes)
//   kind % 4 == 3: one byte repeated (length bytes high, low; up to 12,000)
#include "oracle.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using bitloom::MouseButton;

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}
    bool empty() const { return mAt >= mSize; }
    int byte() { return mAt < mSize ? mData[mAt++] : 0; }
    std::string bytes(std::size_t n)
    {
        n = std::min(n, mSize - std::min(mAt, mSize));
        std::string s(reinterpret_cast<const char*>(mData + mAt), n);
        mAt += n;
        return s;
    }

private:
    const std::uint8_t* mData;
    std::size_t mSize;
    std::size_t mAt = 0;
};

std::string variation(const std::string& base, int how, const std::string& extra)
{
    switch (how % 8) {
    case 0: return base + extra;
    case 1: return extra + base;
    case 2: return base + "light[]={" + extra;
    case 3: return base + "dark[]={" + extra;
    case 4: return base + " ";
    case 5: return base.substr(0, base.size() / 2);
    case 6: { // the other letter case
        std::string s = base;
        for (char& c : s) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            else if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return s;
    }
    default: return base + "\n" + extra;
    }
}

std::string readName(Reader& in, std::vector<std::string>& used)
{
    const int kind = in.byte();
    std::string name;
    switch (kind % 4) {
    case 0: name = in.bytes(static_cast<std::size_t>(in.byte())); break;
    case 1: name = used[static_cast<std::size_t>(in.byte()) % used.size()]; break;
    case 2: {
        const auto& base = used[static_cast<std::size_t>(in.byte()) % used.size()];
        const int how = in.byte();
        name = variation(base, how, in.bytes(static_cast<std::size_t>(in.byte())));
        break;
    }
    default: {
        const char c = static_cast<char>(in.byte());
        const int length = (in.byte() << 8 | in.byte()) % 12001;
        name.assign(static_cast<std::size_t>(length), c);
    }
    }
    if (used.size() < 64)
        used.push_back(bitloom::oracle::singleLine(name));
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Reader in(data, size);
    bitloom::oracle::Session session;
    std::vector<std::string> used = {"Sprite"};
    while (!in.empty()) {
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
        default: session.rename(readName(in, used)); break;
        }
        if (const std::string failure = session.check(); !failure.empty()) {
            std::fprintf(stderr, "after operation %d: %s\n", op, failure.c_str());
            std::abort();
        }
    }
    return 0;
}
