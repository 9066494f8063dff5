// Taking in the files that the Explorer command handed over.

#include "app/MainDialog.h"

#include "app/Handoff.h"
#include "base/Identity.h"
#include "base/Program.h"

void MainDialog::intakeHandoffFile()
{
    const std::string path = programDirectory() + handoffFileName;
    std::string text;
    // Missing or locked: the program was started directly. A read that fails part-way
    // leaves the file in place so that nothing handed over is lost. The file is gone before
    // the list is built, which takes seconds for large lists: a second "Tesselwork files"
    // meanwhile writes a new one for the program it starts.
    if (!takeWholeFile(path, text))
        return;
    fileList_.appendHandedOver(parseHandoffRecords(text));
}
