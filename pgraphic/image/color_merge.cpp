#include "pgraphic/image/color_merge.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

int SquaredDistance(TColor A, TColor B) {
    const int DR = GetRValue(A) - GetRValue(B);
    const int DG = GetGValue(A) - GetGValue(B);
    const int DB = GetBValue(A) - GetBValue(B);
    return DR * DR + DG * DG + DB * DB;
}

// Groups that merge pairwise. Each live group I knows its nearest live group after it
// (Partner[I], the first on a tie), so the nearest pair overall is the least of those, and a
// merge only revisits the groups whose partner it changed.
class TMerger {
public:
    explicit TMerger(std::vector<TPGColorSum> Groups) : FGroups(std::move(Groups)) {
        for (const auto& G : FGroups) {
            FColors.push_back(G.Mean());
        }
        FLive.assign(FGroups.size(), true);
        FPartner.assign(FGroups.size(), kNone);
        FDistance.assign(FGroups.size(), 0);
        FLiveCount = FGroups.size();
        for (std::size_t I = 0; I < FGroups.size(); ++I) {
            FindPartner(I);
        }
    }

    void MergeUntil(std::size_t Count) {
        while (FLiveCount > Count) {
            std::size_t First = kNone;
            for (std::size_t I = 0; I < FGroups.size(); ++I) {
                if (FLive[I] && FPartner[I] != kNone &&
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
            if (FLive[I]) {
                Out.push_back(FColors[I]);
            }
        }
        return Out;
    }

private:
    void FindPartner(std::size_t I) {
        FPartner[I] = kNone;
        for (std::size_t J = I + 1; J < FGroups.size(); ++J) {
            Offer(I, J);
        }
    }

    // Makes J the partner of I when it is nearer than I's partner (or first on a tie).
    void Offer(std::size_t I, std::size_t J) {
        if (!FLive[J]) {
            return;
        }
        const int D = SquaredDistance(FColors[I], FColors[J]);
        if (FPartner[I] == kNone || D < FDistance[I] || (D == FDistance[I] && J < FPartner[I])) {
            FPartner[I] = J;
            FDistance[I] = D;
        }
    }

    void Merge(std::size_t Kept, std::size_t Gone) {
        FGroups[Kept].Add(FGroups[Gone]);
        FColors[Kept] = FGroups[Kept].Mean();
        FLive[Gone] = false;
        --FLiveCount;
        FindPartner(Kept);
        for (std::size_t I = 0; I < FGroups.size(); ++I) {
            if (!FLive[I] || I == Kept) {
                continue;
            }
            if (FPartner[I] == Gone || FPartner[I] == Kept) {
                FindPartner(I); // the partner moved or went
            } else if (I < Kept) {
                Offer(I, Kept); // the kept group moved, perhaps nearer
            }
        }
    }

    std::vector<TPGColorSum> FGroups;
    std::vector<TColor> FColors;
    std::vector<bool> FLive;
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
