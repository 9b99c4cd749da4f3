#include "codegen/identifier.h"

#include <gtest/gtest.h>

namespace bitloom {
namespace {

TEST(Identifier, WhyANameIsNoCIdentifier)
{
    const struct {
        std::string_view word;
        IdentifierProblem problem;
        std::string_view character;
    } cases[] = {
        {"sprite", IdentifierProblem::None, ""},
        {"_Sprite_9", IdentifierProblem::None, ""},
        {"Int", IdentifierProblem::None, ""},     // keywords are lower case
        {"integer", IdentifierProblem::None, ""}, // a keyword as prefix only
        {"_bool", IdentifierProblem::None, ""},
        {"", IdentifierProblem::Empty, ""},
        {"9lives", IdentifierProblem::LeadingDigit, ""},
        {"0", IdentifierProblem::LeadingDigit, ""},
        {"my sprite", IdentifierProblem::BadCharacter, " "},
        {"a-b", IdentifierProblem::BadCharacter, "-"},
        {"$x", IdentifierProblem::BadCharacter, "$"},
        {"caf\xC3\xA9!", IdentifierProblem::BadCharacter, "\xC3\xA9"},
        {"cat\xF0\x9F\x90\xB1", IdentifierProblem::BadCharacter, "\xF0\x9F\x90\xB1"},
        {"auto", IdentifierProblem::Keyword, ""},
        {"while", IdentifierProblem::Keyword, ""},
        {"restrict", IdentifierProblem::Keyword, ""},       // C99
        {"_Bool", IdentifierProblem::Keyword, ""},          // C99
        {"_Static_assert", IdentifierProblem::Keyword, ""}, // C11
        {"_Thread_local", IdentifierProblem::Keyword, ""},  // C11
        {"nullptr", IdentifierProblem::Keyword, ""},        // C23
        {"typeof_unqual", IdentifierProblem::Keyword, ""},  // C23
        {"_Decimal128", IdentifierProblem::Keyword, ""},    // C23
    };
    for (const auto& c : cases) {
        const IdentifierCheck check = checkIdentifier(c.word);
        EXPECT_EQ(check.problem, c.problem) << c.word;
        EXPECT_EQ(check.character, c.character) << c.word;
    }
}

} // namespace
} // namespace bitloom
