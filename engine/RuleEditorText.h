#pragma once
// Turning what the rule editor's boxes show into one line of rule text.

#include <string>

class CodePage;

// The texts of the editor's boxes at the moment "Add rule" is clicked.
struct RuleEditorState {
    std::string target;             // box 1009
    std::string action;             // box 1010; empty when nothing is chosen
    std::string firstArgument;      // box 1011
    bool firstArgumentPicked = false; // 1011 has a list item selected (not typed)
    bool secondEnabled = false;     // box 1012 enabled
    std::string secondArgument;     // box 1012, read when enabled
    std::string label;              // static 1022, read when 1012 is enabled
};

inline constexpr char incompleteRuleMessage[] = "Please complete the rule.";

// Builds the rule line, or returns false with the message to show (an incomplete rule, or
// the first of the characters a file name cannot hold, in a fixed order of testing).
bool composeRuleText(const RuleEditorState& state, const CodePage& codePage, std::string& rule,
                     std::string& message);
