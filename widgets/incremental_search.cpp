#include "widgets/incremental_search.h"

bool TIncrementalSearch::IsSearchCharacter(QChar Character) {
    return Character.unicode() >= 32 && Character.unicode() != 127 && Character.isPrint();
}

int TIncrementalSearch::FindPrefix(const QString& Prefix, int Count, const TItemText& Text) {
    for (int I = 0; I < Count; ++I) {
        if (Text(I).startsWith(Prefix, Qt::CaseInsensitive)) {
            return I;
        }
    }
    return -1;
}

TIncrementalSearch::TResult TIncrementalSearch::Search(int Count, const TItemText& Text) const {
    const int Found = FindPrefix(FPrefix, Count, Text);
    if (Found < 0) {
        return {TResult::None, -1, true};
    }
    return {TResult::Select, Found, false};
}

TIncrementalSearch::TResult TIncrementalSearch::TypeCharacter(QChar Character, int Count,
                                                              const TItemText& Text) {
    if (!IsSearchCharacter(Character)) {
        return {};
    }
    FPrefix.append(Character);
    const TResult Result = Search(Count, Text);
    if (Result.Action == TResult::None) {
        FPrefix.chop(1);
    }
    return Result;
}

TIncrementalSearch::TResult TIncrementalSearch::Backspace(int Count, const TItemText& Text) {
    if (FPrefix.isEmpty()) {
        return {TResult::None, -1, true};
    }
    FPrefix.chop(1);
    if (FPrefix.isEmpty()) {
        return {TResult::ClearSelection, -1, false};
    }
    return Search(Count, Text);
}
