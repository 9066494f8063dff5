// Taking in the files that the Explorer command handed over.

#include "app/MainDialog.h"

#include "app/Handoff.h"
#include "base/Identity.h"
#include "base/Program.h"
#include "base/WideText_win.h"

#include <string>
#include <vector>

void MainDialog::intakeHandoffFile()
{
    // The Explorer command writes beside the program, or into the user's own folder of the
    // program where the installation folder cannot be written (Program Files for an
    // ordinary user); both are taken in, in that order.
    std::vector<std::string> records;
    bool handedOver = false;
    for (const std::string& folder : {programDirectory(), userDataDirectory(false)}) {
        if (folder.empty())
            continue;
        std::string text;
        // Missing or locked: nothing handed over there. A read that fails part-way leaves
        // the file in place so that nothing handed over is lost. The file is gone before
        // the list is built, which takes seconds for large lists: a second "Tesselwork
        // files" meanwhile writes a new one for the program it starts.
        if (!takeWholeFile(folder + handoffFileName, text))
            continue;
        handedOver = true;
        // The extension writes UTF-8; earlier versions wrote the machine's ANSI code page,
        // and an unread handoff of theirs may have ours appended: each record is read as
        // what it is. CR LF never stands inside a character of either.
        for (const std::string& record : parseHandoffRecords(text))
            records.push_back(programTextFromFile(record));
    }
    if (handedOver)
        fileList_.appendHandedOver(std::move(records));
}
