#pragma once

#include "codegen/declaration.h"
#include "codegen/textedit.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The sprite declarations a C header may hold, in every shape the program
// reads and writes, for instance
//
//     static unsigned char NAMElight[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00};
//     const uint8_t heart_dark[8] PROGMEM = {
//         0x66, 0xff, /* ... */ 0x00,
//     };
//
// A declaration begins at a line start, maybe indented; its head (qualifiers,
// type, identifier, brackets, PROGMEM, "= {") stands on that one line; its
// body of 8 numbers may span lines and hold comments. Everything else in the
// text is foreign and is never touched. Every function here is pure: it reads
// the text and returns what would change, as a TextEdit.
namespace bitloom::grammar {

inline constexpr std::size_t kRowCount = 8;

// How a number of the body is written.
enum class Notation { Decimal, Hex, Binary, Octal };

// One number of a body, as it stands in the text.
struct NumberToken {
    std::size_t position = 0; // first byte of the token, prefix included
    std::size_t length = 0;
    std::uint8_t value = 0;
    Notation notation = Notation::Decimal;
};

// One declaration found in a text. Offsets are byte offsets into that text,
// and `name` views it: the text must outlive the declaration.
// An unreadable declaration (its head was read, its body is not 8 numbers
// closed by "};") carries only its head: its body fields are left zero, and
// `end` and `lineEnd` are the end of its head line.
struct Declaration {
    Plane plane = Plane::Light;
    std::string_view name;           // the sprite name, a view into the text
    std::size_t lineStart = 0;       // start of the head line (after a byte-order mark)
    std::size_t identifierStart = 0; // the name's first byte
    std::size_t identifierEnd = 0;   // just after the "light" or "dark" suffix
    std::size_t openBrace = 0;       // the "{" that ends the head
    std::array<NumberToken, kRowCount> numbers{};
    std::size_t closeBrace = 0; // the "}" after the numbers
    std::size_t end = 0;        // just after the ";"
    std::size_t lineEnd = 0;    // the '\n' of the line holding `end`, or the text size
    int line = 0;               // 1-based number of the head line
    bool readable = false;

    // The 8 row bytes, top row first; all zero when unreadable.
    std::array<std::uint8_t, kRowCount> bytes() const;
};

// Reads the declaration whose head line begins at `lineStart`, if that line
// holds a declaration head. `lineStart` must be a line start.
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
// last readable declaration, on a line of its own after the one that
// declaration ends on, or after the same sprite's light declaration for a
// dark one. A text without declarations gets the program's own shape at its
// end, before a final line end.
TextEdit newDeclaration(std::string_view text, std::string_view name, Plane plane,
                        const std::array<std::uint8_t, kRowCount>& bytes);

// Removes all the lines the declaration spans, together with one line end.
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

} // namespace bitloom::grammar
