#include "pgraphic/formats/format_failure.h"

void TPGFormatFailure::operator()(TPGLangStrId Id, TPGLangArg S1, TPGLangArg S2) const {
    (*this)(PGLangStr(Id, S1, S2));
}

void TPGFormatFailure::operator()(std::string_view Text) const {
    std::rethrow_exception(FMake(std::string(FPrefix).append(Text)));
}

void TPGFormatFailure::EndOfFile() const {
    (*this)(TPGLangStrId::UnexpectedEndOfFile);
}
