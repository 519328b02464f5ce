#pragma once
// Sheet files beside a data file that the file itself does not hold. Once a drawing of several
// sheets has been saved, amp.CE2 holds sheet 1 and amp.CE2-01, amp.CE2-02, ... the others, so a
// later job on amp.CE2 sees the numbers of sheet 1 only and can hand out a number that a part on
// another sheet already has. The user must hear of it before trusting the result.

#include <string>
#include <vector>

namespace wemb {

struct UnseenSheets {
    std::string dataFile;            // the data file as the job reads it
    int sheetCount = 0;              // the sheets it holds
    std::vector<std::string> files;  // sheet files beside it beyond those, in sheet order

    // "amp.CE2-01 exists beside amp.CE2, which holds 1 sheet: its numbers are not seen", the names
    // as bytes, as in messageText; empty when there are none.
    std::string note() const;
};

// Looks for the sheet files from `sheetCount` on (amp.CE2-01 for a file of one sheet) up to the
// last a drawing can have.
UnseenSheets findUnseenSheets(const std::string& dataFile, int sheetCount);

}  // namespace wemb
