#include "pgraphic/image/octree.h"

#include "pgraphic/image/color_merge.h"
#include "pgraphic/image/row_pixels.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kMaxDepth = 8;

class TOctree {
public:
    explicit TOctree(int Count) : FCount(Count) { FNodes.push_back(TNode{}); }

    // Adds a colour with its weight; then, when there are more leaves than Count, reduces the
    // lightest listed node of the deepest level that has one.
    void Insert(TColor Color, std::uint64_t Weight);
    std::vector<TColor> Colors() const;

private:
    struct TNode {
        std::uint64_t R = 0, G = 0, B = 0, Pixels = 0;
        std::array<int, 8> Children{-1, -1, -1, -1, -1, -1, -1, -1};
        int ChildCount = 0;
        int Level = 0;
        bool Leaf = false;
        bool Listed = false;
        bool Freed = false;
    };

    int NewNode(int Level);
    void Reduce(int Index);
    int FindReducible();
    void FreeSubtree(int Index);
    void CollectLeaves(int Index, std::vector<TColor>& Out) const;
    std::uint64_t Weight(int Index) const {
        const TNode& N = FNodes[static_cast<std::size_t>(Index)];
        return 2 * N.R + 3 * N.G + N.B;
    }

    int FCount;
    int FDepthLimit = kMaxDepth;
    int FLeafCount = 0;
    std::vector<TNode> FNodes;
    std::vector<int> FFreeNodes;
    // Per level the nodes that may be reduced, the most recent at the back.
    std::array<std::vector<int>, kMaxDepth> FReducible;
};

int TOctree::NewNode(int Level) {
    TNode Node;
    Node.Level = Level;
    if (Level == FDepthLimit) {
        Node.Leaf = true;
        ++FLeafCount;
    }
    if (!FFreeNodes.empty()) {
        const int Index = FFreeNodes.back();
        FFreeNodes.pop_back();
        FNodes[static_cast<std::size_t>(Index)] = Node;
        return Index;
    }
    FNodes.push_back(Node);
    return static_cast<int>(FNodes.size()) - 1;
}

void TOctree::Insert(TColor Color, std::uint64_t Weight) {
    const int R = GetRValue(Color), G = GetGValue(Color), B = GetBValue(Color);
    int Index = 0;
    for (;;) {
        TNode& Node = FNodes[static_cast<std::size_t>(Index)];
        Node.R += Weight * static_cast<unsigned>(R);
        Node.G += Weight * static_cast<unsigned>(G);
        Node.B += Weight * static_cast<unsigned>(B);
        Node.Pixels += Weight;
        if (Node.Leaf || Node.Level >= FDepthLimit) {
            break;
        }
        const int Shift = 7 - Node.Level;
        const auto Child = static_cast<std::size_t>(((R >> Shift) & 1) * 4 +
                                                    ((G >> Shift) & 1) * 2 + ((B >> Shift) & 1));
        int Next = Node.Children[Child];
        if (Next < 0) {
            const int Level = Node.Level;
            Next = NewNode(Level + 1); // may move the nodes
            TNode& Parent = FNodes[static_cast<std::size_t>(Index)];
            Parent.Children[Child] = Next;
            ++Parent.ChildCount;
        } else if (Node.ChildCount > 1 && !Node.Listed) {
            Node.Listed = true;
            FReducible[static_cast<std::size_t>(Node.Level)].push_back(Index);
        }
        Index = Next;
    }
    if (FLeafCount > FCount) {
        if (const int Reducible = FindReducible(); Reducible >= 0) {
            Reduce(Reducible);
        }
    }
}

// The listed node of the deepest level below the depth limit with the least weight (the most
// recently listed on a tie), taken off its list; -1 when no level has one.
int TOctree::FindReducible() {
    for (int Level = FDepthLimit - 1; Level >= 0; --Level) {
        auto& List = FReducible[static_cast<std::size_t>(Level)];
        if (List.empty()) {
            continue;
        }
        std::size_t Best = List.size() - 1;
        for (std::size_t I = List.size() - 1; I-- > 0;) {
            if (Weight(List[I]) < Weight(List[Best])) {
                Best = I;
            }
        }
        const int Index = List[Best];
        List.erase(List.begin() + static_cast<std::ptrdiff_t>(Best));
        return Index;
    }
    return -1;
}

void TOctree::FreeSubtree(int Index) {
    TNode& Node = FNodes[static_cast<std::size_t>(Index)];
    for (int& Child : Node.Children) {
        if (Child < 0) {
            continue;
        }
        TNode& C = FNodes[static_cast<std::size_t>(Child)];
        if (C.Leaf) {
            --FLeafCount;
        }
        if (C.Listed) {
            auto& List = FReducible[static_cast<std::size_t>(C.Level)];
            std::erase(List, Child);
        }
        FreeSubtree(Child);
        FNodes[static_cast<std::size_t>(Child)].Freed = true;
        FFreeNodes.push_back(Child);
        Child = -1;
    }
    Node.ChildCount = 0;
}

void TOctree::Reduce(int Index) {
    TNode& Listed = FNodes[static_cast<std::size_t>(Index)];
    if (Listed.Listed) {
        std::erase(FReducible[static_cast<std::size_t>(Listed.Level)], Index);
    }
    FreeSubtree(Index);
    TNode& Node = FNodes[static_cast<std::size_t>(Index)];
    Node.Leaf = true;
    ++FLeafCount;
    if (Node.Level < FDepthLimit - 1) {
        FDepthLimit = Node.Level + 1;
    }
}

void TOctree::CollectLeaves(int Index, std::vector<TColor>& Out) const {
    const TNode& Node = FNodes[static_cast<std::size_t>(Index)];
    if (Node.Leaf) {
        const auto Mean = [&Node](std::uint64_t Sum) {
            return Node.Pixels == 0 ? 0 : static_cast<int>(Sum / Node.Pixels);
        };
        Out.push_back(RGB(Mean(Node.R), Mean(Node.G), Mean(Node.B)));
        return;
    }
    for (const int Child : Node.Children) {
        if (Child >= 0) {
            CollectLeaves(Child, Out);
        }
    }
}

std::vector<TColor> TOctree::Colors() const {
    std::vector<TColor> Out;
    CollectLeaves(0, Out);
    return Out;
}

// Key of a colour's place in tree order: its bits interleaved, red, green and blue from the top.
std::uint32_t TreeOrderKey(TColor Color) {
    std::uint32_t Key = 0;
    for (int Bit = 7; Bit >= 0; --Bit) {
        Key = Key << 3 | ((GetRValue(Color) >> Bit) & 1u) << 2 |
              ((GetGValue(Color) >> Bit) & 1u) << 1 | ((GetBValue(Color) >> Bit) & 1u);
    }
    return Key;
}

// The distinct colours with their weights, in the order of the leaves of an unreduced tree.
std::vector<TPGColorSum> DistinctColors(const std::vector<std::pair<TColor, std::uint64_t>>& Used) {
    auto Sorted = Used;
    std::stable_sort(Sorted.begin(), Sorted.end(), [](const auto& A, const auto& B) {
        return TreeOrderKey(A.first) < TreeOrderKey(B.first);
    });
    std::vector<TPGColorSum> Groups;
    for (std::size_t I = 0; I < Sorted.size(); ++I) {
        const auto [Color, Weight] = Sorted[I];
        if (I == 0 || Color != Sorted[I - 1].first) {
            Groups.emplace_back();
        }
        Groups.back().Add({Weight * GetRValue(Color), Weight * GetGValue(Color),
                           Weight * GetBValue(Color), Weight});
    }
    return Groups;
}

} // namespace

std::vector<TColor> OctreePalette(const TPixelGraphic& Source, int Count,
                                  const TPGRowCounted& RowCounted) {
    std::array<std::uint64_t, 256> Pixels{};
    const auto Width = static_cast<std::size_t>(Source.Width());
    const TPGBitCount BitCount = Source.BitCount();
    for (int Y = 0; Y < Source.Height(); ++Y) {
        const std::uint8_t* Row = Source.ScanLine(Y);
        for (std::size_t X = 0; X < Width; ++X) {
            ++Pixels[GetRowPixel(Row, X, BitCount) & 0xFF];
        }
        if (RowCounted(Y)) {
            break;
        }
    }
    // An index beyond the palette shows as entry 0, as PixelColors reports it.
    const auto& Palette = Source.Palette();
    std::vector<std::pair<TColor, std::uint64_t>> Used;
    for (std::size_t Index = 0; Index < Pixels.size(); ++Index) {
        if (Pixels[Index] > 0) {
            const TColor Color =
                Index < Palette.size() ? Palette[Index] : (Palette.empty() ? 0 : Palette[0]);
            Used.emplace_back(Color, Pixels[Index]);
        }
    }
    TOctree Tree(Count);
    for (const auto& [Color, Weight] : Used) {
        Tree.Insert(Color, Weight);
    }
    // The tree may keep more leaves than allowed (colours that share no branch list no node to
    // reduce), or reduce far below (one reduction can fold most of the tree). Then the closest
    // of the distinct colours merge instead, down to Count.
    std::vector<TColor> Colors = Tree.Colors();
    std::vector<TPGColorSum> Distinct = DistinctColors(Used);
    const auto Least = std::min<std::size_t>(static_cast<std::size_t>(Count), Distinct.size());
    if (Colors.size() < Least || Colors.size() > static_cast<std::size_t>(Count)) {
        Colors = MergeClosestColors(std::move(Distinct), Count);
    }
    return Colors;
}
