#pragma once

#include "codegen/declaration.h"
#include "codegen/textedit.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The byte arrays a C header may hold, and among them the sprite
// declarations, in every shape the program reads and writes, for instance
//
//     static unsigned char NAMElight[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};
//     const uint8_t PROGMEM heart_dark[8] = {
//         B01100110, 0xFFU, /* ... */ 0x00,
//     };
//     const unsigned char font[128][8] =
//     {
//         {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // U+0000
//     };
//
// A declaration begins at a line start, maybe indented, or after another
// complete declaration on the same line. Its head stands on that line:
// qualifiers (static, const, constexpr, in any order, also after the type),
// attribute words (PROGMEM, ALIGN(4), __attribute__((...)), alignas(...),
// __declspec(...)), the element type (unsigned char, signed char, char,
// uint8_t, std::uint8_t), the identifier and its bounds, one "[...]" or two;
// attribute words, "=" and "{" may follow on later lines. Its body is a list
// of numbers (one inner list per row for two bounds), closed by "}" and ";",
// and may span lines and hold comments. Lines inside block comments hold no
// declarations; an extern declaration defines nothing and is no array.
// Everything else in the text is foreign and is never touched. Every
// function here is pure: it reads the text and returns what would change,
// as a TextEdit.
//
// A sprite plane is a byte array named NAMElight or NAMEdark with one bound
// and a body of 8 numbers. One whose body is not 8 numbers is still taken
// for a (broken) plane when its bound says [8], when the other plane of its
// name is declared, or when its body cannot even be delimited; otherwise it
// is only a byte array that happens to end in "light" ("backlight").
namespace bitloom::grammar {

inline constexpr std::size_t kRowCount = 8;

// How a number of a body is written.
enum class Notation {
    Decimal,
    Hex,
    Binary,
    Octal,
    ArduinoBinary, // Arduino's B0 ... B11111111 macros
};

// One number of a body, as it stands in the text: prefix, digits and any
// u/U/l/L suffix.
struct NumberToken {
    std::size_t position = 0; // first byte of the token, prefix included
    std::size_t length = 0;
    std::uint8_t value = 0;
    Notation notation = Notation::Decimal;
};

// Any byte array the grammar reads, sprite plane or not. Offsets are byte
// offsets into the text, and the views view it: the text must outlive it.
struct ByteArray {
    std::string_view name;           // the identifier as read ("heart_light", "font")
    std::size_t start = 0;           // where its head begins: its line start, or after
                                     // the declaration before it on the same line
    std::size_t lineStart = 0;       // start of its head line
    std::size_t identifierStart = 0; // `name` spans identifierStart..identifierEnd
    std::size_t identifierEnd = 0;
    std::vector<std::string_view> bounds;  // the text inside each "[...]", blanks kept
    std::optional<std::size_t> innerCount; // two bounds: the numbers of each inner list
    std::vector<NumberToken> numbers;      // every number in text order (readable only)
    std::size_t elementCount = 0;          // the elements read before any problem
    std::size_t openBrace = 0;             // the "{" that ends the head
    std::size_t closeBrace = 0;            // the final "}", 0 when not delimited
    std::size_t end = 0;     // just after the ";"; for one not delimited, the end of the "{" line
    std::size_t lineEnd = 0; // the line end (LF, or a lone CR) of the line holding `end`, or the size
    int line = 0;            // 1-based number of the head line
    int lastLine = 0;        // 1-based number of the line holding `end`
    bool delimited = false;  // its body is a brace list closed by "}" and ";"
    bool readable = false;   // delimited, and every element a number from 0 to 255
    std::string problem;     // why it is not readable ("256 does not fit in a byte")
};

// Every byte array of the text, readable or not, in text order. Lines inside
// a delimited body are part of it and are not read again.
std::vector<ByteArray> scanByteArrays(std::string_view text);

// The byte array whose head begins at `start` (a line start, or where the
// scan found a second declaration on a line), if one does.
std::optional<ByteArray> parseByteArrayAt(std::string_view text, std::size_t start);

// Whether hex numbers are written in lower case in these tokens: when one of
// them has a lower-case letter a-f. Tokens without letters take this case.
bool usesLowerHex(std::string_view text, const std::vector<NumberToken>& tokens);

// Writes `values[i]` over `tokens[i]` (in text order), each in the notation,
// width, prefix, suffix and letter case of the token it replaces; nothing
// between the tokens changes. A token without letters takes `lowerHex`, or
// when it is not given, usesLowerHex(tokens).
TextEdit rewriteTokens(std::string_view text, const std::vector<NumberToken>& tokens,
                       const std::vector<std::uint8_t>& values, std::optional<bool> lowerHex = std::nullopt);

// The line end the text uses: that of its first line ("\r\n", "\n" or a lone
// "\r"), or "\n" for a text of one line.
std::string_view textLineEnd(std::string_view text);

// The 1-based line of `position`, counting LF, CRLF and a lone CR as line ends.
int lineNumberAt(std::string_view text, std::size_t position);

// One declaration found in a text. Offsets are byte offsets into that text,
// and `name` views it: the text must outlive the declaration.
// An unreadable declaration carries only its head: no numbers and no
// closing brace, and `end` and `lineEnd` are the end of the line its "{"
// stands on (the ByteArray it comes from knows its whole extent).
struct Declaration {
    Plane plane = Plane::Light;
    std::string_view name;           // the sprite name, a view into the text
    std::size_t start = 0;           // where its head begins (see ByteArray)
    std::size_t lineStart = 0;       // start of the head line (after a byte-order mark)
    std::size_t identifierStart = 0; // the name's first byte
    std::size_t identifierEnd = 0;   // just after the "light" or "dark" suffix
    std::size_t openBrace = 0;       // the "{" that ends the head
    std::array<NumberToken, kRowCount> numbers{};
    std::size_t closeBrace = 0; // the "}" after the numbers
    std::size_t end = 0;        // just after the ";"
    std::size_t lineEnd = 0;    // the line end of the line holding `end`, or the text size
    int line = 0;               // 1-based number of the head line
    bool readable = false;
    std::string problem; // why its bytes cannot be read ("7 numbers; a sprite plane has 8")

    // The 8 row bytes, top row first; all zero when unreadable.
    std::array<std::uint8_t, kRowCount> bytes() const;
};

// The sprite planes among byte arrays scanned from one text (see above).
std::vector<Declaration> pairDeclarations(std::string_view text, const std::vector<ByteArray>& arrays);

// Reads the declaration whose head begins at `lineStart`, if it holds a
// declaration head: a line start, or a Declaration's `start`. Whether it is
// a plane is judged from it alone: the other plane is not looked for.
std::optional<Declaration> parseDeclarationAt(std::string_view text, std::size_t lineStart);

// Every declaration of the text, readable or not, in text order. Lines inside
// a readable declaration's body are part of it and are not read again.
std::vector<Declaration> scanDeclarations(std::string_view text);

// The name a declaration for a typed name reads back as: its leading blanks
// dropped, since blanks before the name belong to the head. The functions
// below that take a name apply this to it, so that " A" finds, adds and
// renames the sprite "A" instead of adding it again on every update.
std::string_view spriteName(std::string_view typed);

// The first declaration of that name and plane, readable or not: the one an
// update writes (or refuses to write, when it is unreadable).
std::optional<Declaration> findDeclaration(std::string_view text, std::string_view name, Plane plane);

// The first light and the first dark declaration of a name, readable or
// not, found in one walk that stops once it has both.
struct SpriteDeclarations {
    std::optional<Declaration> light;
    std::optional<Declaration> dark;
};
SpriteDeclarations findSprite(std::string_view text, std::string_view name);

// The declaration among `declarations` (in text order, as scanned) whose
// lines hold `position`, from its line start through its last line end; or
// none. Lets a view that works line by line tell which declaration a line
// belongs to.
const Declaration* declarationAt(const std::vector<Declaration>& declarations, std::size_t position);

// Writes the 8 bytes over the numbers of a declaration, each in the notation
// of the token it replaces; nothing else changes. For an unreadable one the
// edit changes nothing: its extent is unknown, so it is never written.
TextEdit rewriteNumbers(std::string_view text, const Declaration& declaration,
                        const std::array<std::uint8_t, kRowCount>& bytes);

// Inserts a declaration for a plane the text lacks, shaped like the text's
// last readable declaration (its whole head, attribute words included, on
// one line), on a line of its own after the one that declaration ends on,
// or after the same sprite's light declaration for a dark one. A text
// without declarations but with other readable byte arrays takes the head
// of the last one, with "[]" and a one-line body; a text with neither gets
// the program's own shape at its end, before a final line end. New lines use
// the text's line ends, never go inside a comment, and go after the "#endif"
// of an "#if 0" block that holds the declaration they follow.
TextEdit newDeclaration(std::string_view text, std::string_view name, Plane plane,
                        const std::array<std::uint8_t, kRowCount>& bytes);

// Removes all the lines the declaration spans, together with one line end;
// one that shares a line with another declaration goes alone, with the
// blanks after it.
TextEdit removeDeclaration(std::string_view text, const Declaration& declaration);

// Gives the declaration another sprite name; its suffix and all else stay.
TextEdit renameDeclaration(const Declaration& declaration, std::string_view newName);

// What a piece of a declaration is, for colouring it.
enum class TokenKind { Keyword, Type, Identifier, Punctuation, Number, Comment };

struct TokenSpan {
    std::size_t position = 0;
    std::size_t length = 0;
    TokenKind kind = TokenKind::Punctuation;

    bool operator==(const TokenSpan&) const = default;
};

// The tokens of a declaration in text order, blanks and line breaks left out;
// an unreadable declaration gives the tokens of its head only.
std::vector<TokenSpan> declarationTokens(std::string_view text, const Declaration& declaration);
std::vector<TokenSpan> byteArrayTokens(std::string_view text, const ByteArray& array);

// A name cut for a message: at most `limit` bytes (never inside a UTF-8
// sequence), with "..." when cut.
std::string shortName(std::string_view name, std::size_t limit = 80);

} // namespace bitloom::grammar
