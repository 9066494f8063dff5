// Taking in the files that the Explorer command handed over.

#include "app/MainDialog.h"

#include "app/Handoff.h"
#include "base/Identity.h"
#include "base/Program.h"

#include <iterator>
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
        std::vector<std::string> taken = parseHandoffRecords(text);
        records.insert(records.end(), std::make_move_iterator(taken.begin()), std::make_move_iterator(taken.end()));
    }
    if (handedOver)
        fileList_.appendHandedOver(std::move(records));
}
