#include "pgraphic/image/color_merge.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// Groups that merge pairwise. Each live group I knows its nearest live group after it
// (Partner[I], the first on a tie), so the nearest pair overall is the least of those, and a
// merge only revisits the groups whose partner it changed.
class TMerger {
public:
    explicit TMerger(std::vector<TPGColorSum> Groups)
        : FGroups(std::move(Groups)), FR(FGroups.size()), FG(FGroups.size()), FB(FGroups.size()),
          FLive(FGroups.size(), 1), FPartner(FGroups.size(), kNone), FDistance(FGroups.size(), 0),
          FLiveCount(FGroups.size()) {
        for (std::size_t I = 0; I < FGroups.size(); ++I) {
            SetColor(I);
        }
        for (std::size_t I = 0; I < FGroups.size(); ++I) {
            FindPartner(I);
        }
    }

    void MergeUntil(std::size_t Count) {
        while (FLiveCount > Count) {
            std::size_t First = kNone;
            for (std::size_t I = 0; I < FGroups.size(); ++I) {
                if (FLive[I] != 0 && FPartner[I] != kNone &&
                    (First == kNone || FDistance[I] < FDistance[First])) {
                    First = I;
                }
            }
            Merge(First, FPartner[First]);
        }
    }

    std::vector<TColor> Colors() const {
        std::vector<TColor> Out;
        for (std::size_t I = 0; I < FGroups.size(); ++I) {
            if (FLive[I] != 0) {
                Out.push_back(RGB(FR[I], FG[I], FB[I]));
            }
        }
        return Out;
    }

private:
    void SetColor(std::size_t I) {
        const TColor C = FGroups[I].Mean();
        FR[I] = GetRValue(C);
        FG[I] = GetGValue(C);
        FB[I] = GetBValue(C);
    }

    int Distance(std::size_t I, std::size_t J) const {
        const int DR = FR[I] - FR[J], DG = FG[I] - FG[J], DB = FB[I] - FB[J];
        return DR * DR + DG * DG + DB * DB;
    }

    void FindPartner(std::size_t I) {
        std::size_t Best = kNone;
        int Least = std::numeric_limits<int>::max();
        for (std::size_t J = I + 1; J < FGroups.size(); ++J) {
            if (FLive[J] != 0) {
                const int D = Distance(I, J);
                if (D < Least) {
                    Least = D;
                    Best = J;
                }
            }
        }
        FPartner[I] = Best;
        FDistance[I] = Least;
    }

    void Merge(std::size_t Kept, std::size_t Gone) {
        FGroups[Kept].Add(FGroups[Gone]);
        SetColor(Kept);
        FLive[Gone] = 0;
        --FLiveCount;
        FindPartner(Kept);
        for (std::size_t I = 0; I < FGroups.size(); ++I) {
            if (FLive[I] == 0 || I == Kept) {
                continue;
            }
            if (FPartner[I] == Gone || FPartner[I] == Kept) {
                FindPartner(I); // the partner moved or went
            } else if (I < Kept) {
                // The kept group moved, perhaps nearer; the earlier group wins a tie.
                const int D = Distance(I, Kept);
                if (D < FDistance[I] || (D == FDistance[I] && Kept < FPartner[I])) {
                    FPartner[I] = Kept;
                    FDistance[I] = D;
                }
            }
        }
    }

    std::vector<TPGColorSum> FGroups;
    std::vector<int> FR, FG, FB; // each group's colour
    std::vector<std::uint8_t> FLive;
    std::vector<std::size_t> FPartner;
    std::vector<int> FDistance;
    std::size_t FLiveCount = 0;
};

} // namespace

TColor TPGColorSum::Mean() const {
    if (Pixels == 0) {
        return 0;
    }
    return RGB(static_cast<int>(R / Pixels), static_cast<int>(G / Pixels),
               static_cast<int>(B / Pixels));
}

void TPGColorSum::Add(const TPGColorSum& Other) {
    R += Other.R;
    G += Other.G;
    B += Other.B;
    Pixels += Other.Pixels;
}

std::vector<TColor> MergeClosestColors(std::vector<TPGColorSum> Groups, int Count) {
    TMerger Merger(std::move(Groups));
    Merger.MergeUntil(static_cast<std::size_t>(std::max(Count, 1)));
    return Merger.Colors();
}
