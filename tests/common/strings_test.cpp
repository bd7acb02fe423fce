#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "scopedwin.h"
#include "searchandpast.h"

namespace {

std::string Text(char* heapText) {
    HeapString owned(heapText);
    return owned ? std::string(owned.get()) : std::string("<none>");
}

std::string Replace(const char* text, const char* pattern, const char* replacement) {
    return Text(SearchAndPast(_strdup(text), pattern, replacement));
}

TEST(SearchAndPast, ReplacesEveryOccurrenceOnce) {
    EXPECT_EQ(Replace("a/exb", "/ex", nullptr), "ab");
    EXPECT_EQ(Replace("axb", "x", "xx"), "axxb");
    EXPECT_EQ(Replace("xxx", "x", "yx"), "yxyxyx");
    EXPECT_EQ(Replace("/nx C:\\a /nx b/nx", "/nx", ""), " C:\\a  b");
    EXPECT_EQ(Replace("nothing here", "zz", "y"), "nothing here");
    EXPECT_EQ(Replace("", "a", "b"), "");
}

TEST(SearchAndPast, WithoutPatternReturnsTheInputItself) {
    char* input = _strdup("keep");
    EXPECT_EQ(SearchAndPast(input, "", "x"), input);
    EXPECT_EQ(SearchAndPast(input, nullptr, "x"), input);
    EXPECT_STREQ(input, "keep");
    free(input);
    EXPECT_EQ(SearchAndPast(nullptr, "a", "b"), nullptr);
}

std::string Trim(const char* text, const char* set) {
    char* copy = _strdup(text);
    char* original = copy;
    KvStrTrim(copy, set);
    EXPECT_EQ(copy, original) << "the caller's pointer stays the block's start";
    return Text(copy);
}

TEST(KvStrTrim, RemovesTheSetFromBothEnds) {
    EXPECT_EQ(Trim("\"C:\\My Pictures\\a b.jpg\" ", " \""), "C:\\My Pictures\\a b.jpg");
    EXPECT_EQ(Trim("  inner  space  ", " "), "inner  space");
    EXPECT_EQ(Trim("\"\" \"", " \""), "");
    EXPECT_EQ(Trim("", " "), "");
    EXPECT_EQ(Trim("none", ""), "none");
}

TEST(SmallSearches, LastOccurrenceAndFirstCharacter) {
    const char* text = "a.b.c";
    EXPECT_EQ(strrstr(text, "."), text + 3);
    EXPECT_EQ(strrstr(text, "x"), nullptr);
    const char* repeated = "abab";
    EXPECT_EQ(strrstr(repeated, "ab"), repeated + 2);
    EXPECT_EQ(find("hello", 'l'), 2);
    EXPECT_EQ(find("hello", 'z'), -1);
    EXPECT_EQ(find(nullptr, 'a'), -1);
}

TEST(StrToLowOrUp, MapsCyrillicOfCodePage1251) {
    // Sources are compiled to Windows-1251: capital YA is 0xDF, small ya 0xFF.
    EXPECT_STREQ("Я", "\xDF");
    EXPECT_STREQ("Привет", "\xCF\xF0\xE8\xE2\xE5\xF2");

    char mixed[] = "ABC Я Привет";
    EXPECT_STREQ(StrToLowOrUp(mixed, KV_LOWER), "abc я привет");
    EXPECT_STREQ(StrToLowOrUp(mixed, KV_UPPER), "ABC Я ПРИВЕТ");
    char unchanged[] = "MiXeD";
    EXPECT_STREQ(StrToLowOrUp(unchanged, 3), "MiXeD");

    // Every table pair maps both ways.
    for (int capital = 0xC0; capital <= 0xDF; ++capital) {
        char letter[2] = {static_cast<char>(capital), 0};
        StrToLowOrUp(letter, KV_LOWER);
        EXPECT_EQ(static_cast<unsigned char>(letter[0]), capital + 0x20);
        StrToLowOrUp(letter, KV_UPPER);
        EXPECT_EQ(static_cast<unsigned char>(letter[0]), capital);
    }
    // YO is not in the tables; the C runtime's mapping leaves it be.
    char yo[] = "\xA8\xB8";
    StrToLowOrUp(yo, KV_LOWER);
    EXPECT_EQ(static_cast<unsigned char>(yo[0]), static_cast<unsigned char>(tolower(0xA8)));
}

TEST(Repos, SwapsPairsAndLeavesAnOddLastCharacter) {
    char even[] = "abcdef";
    EXPECT_STREQ(Repos(even), "badcfe");
    char odd[] = "abcde";
    EXPECT_STREQ(Repos(odd), "badce");
    char one[] = "a";
    EXPECT_STREQ(Repos(one), "a");
}

TEST(Base64, MatchesTheStandardVectors) {
    EXPECT_EQ(Text(Base64encode("f")), "Zg==");
    EXPECT_EQ(Text(Base64encode("fo")), "Zm8=");
    EXPECT_EQ(Text(Base64encode("foo")), "Zm9v");
    EXPECT_EQ(Text(Base64encode("foobar")), "Zm9vYmFy");
    EXPECT_EQ(Text(Base64encode("user:pass")), "dXNlcjpwYXNz");
    EXPECT_EQ(Text(Base64encode("")), "<none>");
    EXPECT_EQ(Text(Base64decode("Zm9vYmFy")), "foobar");
    EXPECT_EQ(Text(Base64decode("Zm8=")), "fo");
    EXPECT_EQ(Text(Base64decode("")), "<none>");
}

TEST(Base64, RoundTripsEveryByteValueInEveryPosition) {
    // Texts end at a zero byte, so the values 1 to 255 are what a text holds.
    for (int shift = 0; shift < 3; ++shift) {
        std::string all(shift, 'p');
        for (int value = 1; value < 256; ++value) all += static_cast<char>(value);
        for (int length = 1; length <= static_cast<int>(all.size()); length += 1) {
            std::string text = all.substr(0, length);
            HeapString coded(Base64encode(text.c_str()));
            ASSERT_TRUE(coded);
            ASSERT_EQ(strlen(coded.get()) % 4, 0u);
            ASSERT_EQ(Text(Base64decode(coded.get())), text) << "length " << length << " shift " << shift;
        }
    }
}

TEST(Base64, MalformedInputGivesADefinedResult) {
    EXPECT_EQ(Text(Base64decode("Zm9v!!YmFy")), "foobar") << "characters outside the alphabet are skipped";
    EXPECT_EQ(Text(Base64decode("Zm9v\r\nYmFy")), "foobar");
    EXPECT_EQ(Text(Base64decode("Zm=9vYmFy")), "f") << "decoding stops at the first =";
    EXPECT_EQ(Text(Base64decode("=Zm9v")), "");
    EXPECT_EQ(Text(Base64decode("Zm9vY")), "foo") << "a lone trailing character carries no whole byte";
    EXPECT_EQ(Text(Base64decode("Zm9vYm")), "foob");
    EXPECT_EQ(Text(Base64decode("AAAA")), "") << "decoded zero bytes end the text";

    // Random bytes of every length: the result never exceeds 3/4 of the input.
    unsigned seed = 12345;
    for (int length = 1; length < 300; ++length) {
        std::string junk;
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            char c = static_cast<char>((seed >> 16) & 0xFF);
            junk += c ? c : 'A';
        }
        HeapString decoded(Base64decode(junk.c_str()));
        ASSERT_TRUE(decoded);
        ASSERT_LE(strlen(decoded.get()), static_cast<size_t>(length) * 3 / 4);
    }
}

TEST(Credentials, WrappingReadsBackWhatWasWritten) {
    // "user" -> dXNlcg== -> reversed ==gclNXd -> pairs swapped.
    EXPECT_EQ(Text(WrapCredential("user")), "==cgNldX");
    for (const char* secret : {"user", "p", "pa", "pas", "Пароль 123", "a:b@c"}) {
        HeapString stored(WrapCredential(secret));
        ASSERT_TRUE(stored);
        EXPECT_STRNE(stored.get(), secret);
        EXPECT_EQ(Text(UnwrapCredential(stored.get())), secret);
    }
    EXPECT_EQ(Text(WrapCredential("")), "<none>");
    EXPECT_EQ(Text(UnwrapCredential("")), "<none>");
}

}  // namespace
