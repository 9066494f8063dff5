// Taking in the files that the Explorer command handed over.

#include "app/MainDialog.h"

#include "app/Handoff.h"
#include "base/Identity.h"
#include "base/Program.h"
#include "base/WideText_win.h"

void MainDialog::intakeHandoffFile()
{
    const std::string path = programDirectory() + handoffFileName;
    std::string text;
    // Missing or locked: the program was started directly. A read that fails part-way
    // leaves the file in place so that nothing handed over is lost.
    if (!readWholeFileExclusive(path, text))
        return;
    // The extension writes UTF-8; earlier versions wrote the machine's ANSI code page.
    fileList_.appendHandedOver(parseHandoffRecords(programTextFromFile(text)));
    forceDeleteFile(path);
}
