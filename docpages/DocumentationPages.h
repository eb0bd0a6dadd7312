#pragma once

#include <QString>

// The documentation of each module model: one PDF file per model and language in the
// installation folder, opened by the documentation buttons of the module page.
namespace DocumentationPages {

enum class Button
{
    Command11,
    Command13,
    Command14,
    Command33
};

// The document a button opens while the module type list shows `typeEntry`, in the language
// (1 Dutch "_NL", 2 French "_FR"); empty when the button has no document for that entry or
// the language is neither.
QString documentFor(Button button, const QString &typeEntry, int language);

// Why a document fetched over http did not come, and what the installer is told then.
enum class FetchFault
{
    TooLarge,
    TimedOut,
    Failed
};
QString notFetchedText(FetchFault fault, int language);

} // namespace DocumentationPages
