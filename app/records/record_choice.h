#pragma once

#include "app/records/random_source.h"

#include <string>

// The texts a record choice gives the two logos, and the record file's description.
struct TRecordTexts {
    std::string FirstText;       // first logo: the question
    std::string LastText;        // second logo: the answer
    std::string FileDescription; // the record file's "Description"
};

// Chooses the texts of the logos: seeds Random from the clock, starts from the two default
// texts and, when TextFileName names an existing file, reads its description and one random
// record into Texts. A record of one line goes on the second logo, under the description (or the
// first default text when there is none); a record of more lines puts its first line on the
// first logo and the others, joined by CR LF, on the second. Texts is updated step by step, so a
// read error (EReadError) leaves the default texts in it. Returns false, with FileDescription
// untouched, when TextFileName names no existing file; the caller then leaves its display of
// the texts as it was.
bool ChooseRecord(const std::string& TextFileName, const std::string& FirstDefault,
                  const std::string& LastDefault, TRecordTexts& Texts, TRandomSource& Random);
