#include "core/stream.h"
#include "pgraphic/formats/tiff/packbits.h"

#include <gtest/gtest.h>
#include <random>

using namespace tiff;

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Encode(const TBytes& Row) {
    TBytes Out(PackBitsMaxSize(Row.size()));
    Out.resize(PackBitsEncode(Row.data(), Row.size(), Out.data()));
    return Out;
}

// The encoding rules step by step: run lengths per position, pairs next to single bytes turned
// into single bytes forwards and then backwards, then literals and repeats of at most 128.
TBytes ReferenceEncode(const TBytes& Row) {
    const std::size_t R = Row.size();
    std::vector<std::size_t> Run(R);
    for (std::size_t I = 0; I < R;) {
        std::size_t End = I;
        while (End < R && Row[End] == Row[I]) {
            ++End;
        }
        for (std::size_t J = I; J < End; ++J) {
            Run[J] = End - I;
        }
        I = End;
    }
    for (std::size_t I = 1; I < R; ++I) {
        if (Run[I] == 2 && Run[I - 1] == 1) {
            Run[I] = 1;
        }
    }
    for (std::size_t I = R >= 2 ? R - 1 : 0; I-- > 0;) {
        if (Run[I] == 2 && Run[I + 1] == 1) {
            Run[I] = 1;
        }
    }
    TBytes Out;
    for (std::size_t P = 0; P < R;) {
        std::size_t N = 0;
        if (Run[P] == 1) {
            while (P + N < R && Run[P + N] == 1 && N < 128) {
                ++N;
            }
            Out.push_back(static_cast<std::uint8_t>(N - 1));
            Out.insert(Out.end(), Row.begin() + static_cast<std::ptrdiff_t>(P),
                       Row.begin() + static_cast<std::ptrdiff_t>(P + N));
        } else {
            while (P + N < R && Row[P + N] == Row[P] && N < 128) {
                ++N;
            }
            Out.push_back(static_cast<std::uint8_t>(1 - static_cast<int>(N)));
            Out.push_back(Row[P]);
        }
        P += N;
    }
    return Out;
}

// Decodes Data as one row of Length bytes; false on overrun.
bool Decode(const TBytes& Data, std::size_t Length, TBytes& Row) {
    TBlockStream Stream(static_cast<const void*>(Data.data()),
                        static_cast<std::int64_t>(Data.size()));
    TPackBitsDecoder Decoder(Stream);
    Decoder.SetPosition(0);
    Row.assign(Length, 0xEE);
    return Decoder.DecodeRow(Row.data(), Length);
}

} // namespace

TEST(PackBitsEncode, PairsJoinTheLiteralNextToThem) {
    // A pair after single bytes joins the literal; a pair between repeats stays a repeat.
    EXPECT_EQ(Encode({0, 0, 0, 1, 2, 3, 3}), (TBytes{0xFE, 0, 3, 1, 2, 3, 3}));
    EXPECT_EQ(Encode({7, 7, 9}), (TBytes{2, 7, 7, 9}));
    EXPECT_EQ(Encode({5, 5, 5, 7, 7, 6, 6, 6}), (TBytes{0xFE, 5, 0xFF, 7, 0xFE, 6}));
    EXPECT_EQ(Encode({7, 7, 8, 8}), (TBytes{0xFF, 7, 0xFF, 8}));
    EXPECT_EQ(Encode({4}), (TBytes{0, 4}));
    EXPECT_EQ(Encode({}), TBytes{});
}

TEST(PackBitsEncode, LongRunsAndLiteralsSplitAt128) {
    TBytes Run(129, 0xAB);
    EXPECT_EQ(Encode(Run), (TBytes{0x81, 0xAB, 0x00, 0xAB}));
    Run.assign(300, 0xAB);
    EXPECT_EQ(Encode(Run), (TBytes{0x81, 0xAB, 0x81, 0xAB, 0xD5, 0xAB}));
    TBytes Literal(200);
    for (std::size_t I = 0; I < Literal.size(); ++I) {
        Literal[I] = static_cast<std::uint8_t>(I);
    }
    const TBytes Out = Encode(Literal);
    ASSERT_EQ(Out.size(), 202u);
    EXPECT_EQ(Out[0], 127);
    EXPECT_EQ(Out[129], 71);
    EXPECT_EQ(Out[130], 128);
}

TEST(PackBitsEncode, MatchesTheRulesAndDecodesBackOnRandomRows) {
    std::mt19937 Random(12345);
    for (int Case = 0; Case < 3000; ++Case) {
        // Few distinct values make runs of every length; some rows are long.
        const std::size_t Length = Case % 10 == 0 ? Random() % 1200 : Random() % 40;
        const unsigned Alphabet = 1 + Random() % 4;
        TBytes Row(Length);
        for (auto& B : Row) {
            B = static_cast<std::uint8_t>(Random() % Alphabet);
        }
        if (Case % 7 == 0 && Length > 300) {
            std::fill(Row.begin() + 10, Row.begin() + 290, 9); // a run across chunk limits
        }
        const TBytes Out = Encode(Row);
        ASSERT_EQ(Out, ReferenceEncode(Row)) << "case " << Case;
        ASSERT_LE(Out.size(), PackBitsMaxSize(Length));
        TBytes Back;
        ASSERT_TRUE(Decode(Out, Length, Back));
        ASSERT_EQ(Back, Row) << "case " << Case;
    }
}

TEST(PackBitsDecode, NoOpsOverrunsAndTheEndOfTheData) {
    TBytes Row;
    ASSERT_TRUE(Decode({0x80, 0xFE, 1, 0x80, 0, 2}, 4, Row));
    EXPECT_EQ(Row, (TBytes{1, 1, 1, 2}));
    // A repeat or a literal longer than the row is refused before anything is written past it.
    EXPECT_FALSE(Decode({0xFD, 1}, 3, Row));
    EXPECT_FALSE(Decode({0x01, 1, 2, 3}, 1, Row));
    EXPECT_EQ(Row[0], 0xEE);
    // Data that ends early, or nothing but no-ops, is a stream read error.
    EXPECT_THROW(Decode({0x03, 1, 2}, 4, Row), EReadError);
    EXPECT_THROW(Decode(TBytes(5000, 0x80), 1, Row), EReadError);
}

TEST(PackBitsDecode, RowsAcrossTheWindowAndAfterASeek) {
    TBytes Data;
    for (int I = 0; I < 100; ++I) {
        Data.push_back(127);
        for (int J = 0; J < 128; ++J) {
            Data.push_back(static_cast<std::uint8_t>(I + J));
        }
    }
    TBlockStream Stream(static_cast<const void*>(Data.data()),
                        static_cast<std::int64_t>(Data.size()));
    TPackBitsDecoder Decoder(Stream);
    Decoder.SetPosition(0);
    TBytes Row(128 * 100);
    ASSERT_TRUE(Decoder.DecodeRow(Row.data(), Row.size()));
    for (std::size_t I = 0; I < Row.size(); ++I) {
        ASSERT_EQ(Row[I], static_cast<std::uint8_t>(I / 128 + I % 128)) << I;
    }
    Decoder.SetPosition(129 * 50); // back into data read earlier
    ASSERT_TRUE(Decoder.DecodeRow(Row.data(), 128));
    EXPECT_EQ(Row[0], 50);
}
