#include "sound/clip_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace tessaly {
namespace {

TEST(ClipCatalogue, CharactersMapToClipsOfTheWordSet) {
    struct Case { WordSet words; const char* character; const char* clip; } cases[] = {
        {WordSet::Exam, "0", "10"},      {WordSet::Exam, "9", "19"},       {WordSet::Standard, "0", "00"},
        {WordSet::Other, "9", "09"},     {WordSet::Standard, "A", "001"},  {WordSet::Places, "A", "101"},
        {WordSet::Other, "A", "201"},    {WordSet::Exam, "A", "301"},      {WordSet::Standard, "Z", "026"},
        {WordSet::Exam, "Z", "326"},     {WordSet::Standard, "M", "013"},  {WordSet::Standard, "m", "MOBILE"},
        {WordSet::Exam, "Q", "317"},     {WordSet::Exam, "q", "QRP"},      {WordSet::Exam, "/", "PORTABLE"},
        {WordSet::Exam, "\r", "NULL"},   {WordSet::Exam, "\n", "NULL"},    {WordSet::Exam, "", "NULL"},
        {WordSet::Exam, "AB", "NULL"},   {WordSet::Exam, "a", "NULL"},     {WordSet::Exam, " ", "NULL"},
        {WordSet::Mixed, "5", "05"},
    };
    RandomSource random(1);
    for (const Case& c : cases)
        EXPECT_EQ(clipNameFor(c.character, {c.words, false, ""}, random), c.clip) << static_cast<int>(c.words) << " '" << c.character << "'";
}

TEST(ClipCatalogue, MixedDrawsEachLetterFromTheFirstThreeSets) {
    RandomSource random(1);
    std::map<std::string, int> counts;
    for (int i = 0; i < 3000; ++i) ++counts[clipNameFor("A", {WordSet::Mixed, false, ""}, random)];
    EXPECT_EQ(counts.size(), 3u);
    for (const char* clip : {"001", "101", "201"}) EXPECT_NEAR(counts[clip], 1000, 120) << clip;
}

TEST(ClipCatalogue, ASpeakerAndTheFigureCodeWordsNameTheirOwnClips) {
    RandomSource random(1);
    EXPECT_EQ(clipNameFor("7", {WordSet::Exam, true, "awb"}, random), "awb/27");
    EXPECT_EQ(clipNameFor("K", {WordSet::Places, false, "slt"}, random), "slt/111");
    EXPECT_EQ(clipNameFor("\r", {WordSet::Exam, false, "awb"}, random), "NULL") << "the pause is everyone's";
    EXPECT_EQ(voiceClipShares({WordSet::Exam, true, "rms"}).back().first, "rms/29");
    const auto& all = spokenClipNames();
    EXPECT_NE(std::find(all.begin(), all.end(), "29"), all.end()) << "a pack may hold the figure code words";
}

TEST(ClipCatalogue, TheSnrVoiceSharesItsCallsignsLettersAndDigits) {
    for (const WordSet words : {WordSet::Exam, WordSet::Mixed}) {
        double letters = 0, digits = 0;
        for (const auto& [clip, share] : voiceClipShares({words, false, ""})) (clip.size() == 3 ? letters : digits) += share;
        EXPECT_NEAR(letters, 0.78, 1e-9);
        EXPECT_NEAR(digits, 0.22, 1e-9);
    }
    EXPECT_EQ(voiceClipShares({WordSet::Mixed, false, ""}).size(), 3u * 26 + 10);
    EXPECT_EQ(voiceClipShares({WordSet::Exam, false, ""}).front().first, "301");
    EXPECT_EQ(voiceClipShares({WordSet::Exam, false, ""}).back().first, "19");
}

}  // namespace
}  // namespace tessaly
