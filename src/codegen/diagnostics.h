#pragma once

#include "codegen/declaration.h"
#include "codegen/identifier.h"

#include <string>
#include <string_view>
#include <vector>

namespace bitloom {

// Where a sprite declaration stands in a code text: whose it is, the lines
// (1-based) it begins and ends on, and whether its bytes can all be read.
struct DeclarationSite {
    Plane plane;
    std::string_view name; // within the text
    int firstLine;
    int lastLine;
    bool readable;
    std::string problem; // why its bytes cannot be read, when they cannot
};

// Every sprite declaration of `text`, in order, as the declaration grammar
// reads them; the checks and the annotated listing share it.
std::vector<DeclarationSite> scanDeclarations(std::string_view text);

// What is wrong with a code text, as a checker reports it.
enum class DiagnosticKind {
    // Errors: Open cannot take the declaration in as written.
    UnreadableDeclaration, // its body is not 8 readable numbers: it registers nothing
    DeclaredTwice,         // the same name and plane again; `otherLine` is the one used
    BeyondTable,           // a sprite after the first kSpriteTableSize names
    // Warnings: Open takes it in, but probably not as meant.
    MissingDark,   // a light declaration with no dark one
    MissingLight,  // a dark declaration with no light one; Open ignores it
    NotIdentifier, // the name is not a C identifier: see `identifier`
    NotPlane,      // named like a plane, but its body is not 8 numbers: `reason` says
                   // how many; Open takes it for no sprite
};

enum class Severity { Error, Warning };

struct Diagnostic {
    DiagnosticKind kind;
    int line; // 1-based
    std::string name;
    Plane plane = Plane::Light;
    int otherLine = 0;          // DeclaredTwice: the declaration Open reads
    IdentifierCheck identifier; // NotIdentifier: what is wrong with the name
    std::string reason = {};    // UnreadableDeclaration, NotPlane: why
};

Severity severityOf(DiagnosticKind kind);

// Every problem of `text` (already accepted as a code text), ordered by line.
std::vector<Diagnostic> diagnose(std::string_view text);

} // namespace bitloom
