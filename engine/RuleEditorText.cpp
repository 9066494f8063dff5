// Composing rule text from the editor's boxes.

#include "engine/RuleEditorText.h"

#include "base/CharScan.h"

bool composeRuleText(const RuleEditorState& state, const CodePage& codePage, std::string& rule,
                     std::string& message)
{
    rule = state.target;
    if (state.action.empty()) {
        message = incompleteRuleMessage;
        return false;
    }
    rule += ' ';
    rule += state.action;

    if (state.firstArgument.empty()) {
        message = incompleteRuleMessage;
        return false;
    }
    // Tested in this order, not in the order they stand in the text. A trail byte of a
    // double-byte character is no backslash or bar, so the test is character-aware.
    const CharScan scan(codePage);
    const bool remove = state.action == "REMOVE";
    for (char illegal : {'\\', '/', ':', '*', '?', '"', '<', '>', '|'}) {
        if (illegal == '*' && remove)
            continue; // the wildcard of REMOVE
        if (scan.find(state.firstArgument, illegal) != std::string::npos) {
            message = std::string("'") + illegal + "' is an illegal character for filename.";
            return false;
        }
    }

    rule += ' ';
    if (state.firstArgumentPicked) {
        rule += state.firstArgument;
    } else {
        rule += '"';
        rule += state.firstArgument;
        rule += '"';
    }

    // The second argument is tested neither for emptiness nor for illegal characters.
    if (state.secondEnabled) {
        rule += ' ';
        if (state.label == "length" || state.label == "format") {
            rule += state.label;
            rule += ':';
            rule += state.secondArgument;
        } else {
            if (state.label == "with")
                rule += "with ";
            rule += '"';
            rule += state.secondArgument;
            rule += '"';
        }
    }
    message.clear();
    return true;
}
