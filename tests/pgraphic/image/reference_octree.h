#pragma once

// The octree of the optimised palette of a palette image, built by the literal rules alone: each
// used colour inserted with its pixel count, one reduction of the lightest listed node of the
// deepest level after every insertion that leaves more leaves than allowed, nothing afterwards.
// An independent model to compare the library's palettes with.

#include "pgraphic/image/pixel_graphic.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class TReferenceOctree {
public:
    explicit TReferenceOctree(int Count) : FCount(Count) { FRoot = NewNode(0); }

    void Insert(TColor Color, std::uint64_t Weight) {
        const int R = GetRValue(Color), G = GetGValue(Color), B = GetBValue(Color);
        TNode* Node = FRoot;
        for (;;) {
            Node->R += Weight * static_cast<std::uint64_t>(R);
            Node->G += Weight * static_cast<std::uint64_t>(G);
            Node->B += Weight * static_cast<std::uint64_t>(B);
            Node->Pixels += Weight;
            if (Node->Leaf || Node->Level >= FDepthLimit) {
                break;
            }
            const int Bit = 7 - Node->Level;
            const auto Child = static_cast<std::size_t>(((R >> Bit) & 1) * 4 +
                                                        ((G >> Bit) & 1) * 2 + ((B >> Bit) & 1));
            if (Node->Children[Child] == nullptr) {
                Node->Children[Child] = NewNode(Node->Level + 1);
            } else if (ChildCount(*Node) > 1 && !Node->Listed) {
                Node->Listed = true;
                FLists[static_cast<std::size_t>(Node->Level)].push_front(Node);
            }
            Node = Node->Children[Child];
        }
        if (FLeaves > FCount) {
            ReduceOnce();
        }
    }

    // The leaves depth first, children in order 0..7, each the truncated mean of its colours.
    std::vector<TColor> Colors() const {
        std::vector<TColor> Out;
        Collect(*FRoot, Out);
        return Out;
    }

private:
    struct TNode {
        std::uint64_t R = 0, G = 0, B = 0, Pixels = 0;
        std::array<TNode*, 8> Children{};
        int Level = 0;
        bool Leaf = false;
        bool Listed = false;
    };

    TNode* NewNode(int Level) {
        FPool.push_back(std::make_unique<TNode>());
        TNode* Node = FPool.back().get();
        Node->Level = Level;
        if (Level == FDepthLimit) {
            Node->Leaf = true;
            ++FLeaves;
        }
        return Node;
    }

    static int ChildCount(const TNode& Node) {
        int Count = 0;
        for (const TNode* C : Node.Children) {
            Count += C != nullptr ? 1 : 0;
        }
        return Count;
    }

    void ReduceOnce() {
        for (int Level = FDepthLimit - 1; Level >= 0; --Level) {
            auto& List = FLists[static_cast<std::size_t>(Level)];
            if (List.empty()) {
                continue;
            }
            auto Best = List.begin();
            for (auto It = List.begin(); It != List.end(); ++It) {
                if (Weight(**It) < Weight(**Best)) {
                    Best = It;
                }
            }
            TNode* Node = *Best;
            List.erase(Best);
            Detach(*Node);
            Node->Leaf = true;
            ++FLeaves;
            if (Level < FDepthLimit - 1) {
                FDepthLimit = Level + 1;
            }
            return;
        }
    }

    // Takes the subtree below Node out of the tree; its leaves no longer count.
    void Detach(TNode& Node) {
        for (TNode*& Child : Node.Children) {
            if (Child != nullptr) {
                Detach(*Child);
                FLeaves -= Child->Leaf ? 1 : 0;
                Child = nullptr;
            }
        }
    }

    static std::uint64_t Weight(const TNode& Node) { return 2 * Node.R + 3 * Node.G + Node.B; }

    static void Collect(const TNode& Node, std::vector<TColor>& Out) {
        if (Node.Leaf) {
            const auto Mean = [&Node](std::uint64_t Sum) {
                return static_cast<int>(Sum / Node.Pixels);
            };
            Out.push_back(RGB(Mean(Node.R), Mean(Node.G), Mean(Node.B)));
            return;
        }
        for (const TNode* Child : Node.Children) {
            if (Child != nullptr) {
                Collect(*Child, Out);
            }
        }
    }

    int FCount;
    int FDepthLimit = 8;
    int FLeaves = 0;
    TNode* FRoot = nullptr;
    std::vector<std::unique_ptr<TNode>> FPool;
    std::array<std::deque<TNode*>, 8> FLists; // per level, the most recently listed first
};
