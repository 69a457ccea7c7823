#include "support/form_fixture.h"

#include <map>

namespace tessaly::testing {
namespace {

class CatalogueTest : public FormTest {};

TEST_F(CatalogueTest, CharactersMapToClipsOfTheSelectedWordSet) {
    struct Case {
        int set;
        const char* character;
        const char* clip;
    } cases[] = {
        {4, "0", "10"},     {4, "9", "19"},     {0, "0", "00"},       {2, "9", "09"},   {0, "A", "001"},
        {1, "A", "101"},    {2, "A", "201"},    {4, "A", "301"},      {0, "Z", "026"},  {4, "Z", "326"},
        {0, "M", "013"},    {0, "m", "MOBILE"}, {4, "Q", "317"},      {4, "q", "QRP"},  {4, "/", "PORTABLE"},
        {4, "\r", "NULL"},  {4, "\n", "NULL"},  {4, "", "NULL"},      {4, "AB", "NULL"}, {4, "a", "NULL"},
        {4, " ", "NULL"},   {3, "5", "05"},
    };
    for (const Case& c : cases) {
        form.Option7[c.set].select();
        EXPECT_EQ(form.speech.ResToStr(c.character), c.clip) << "set " << c.set << " '" << c.character << "'";
    }
}

TEST_F(CatalogueTest, MixedDrawsEachLetterFromTheFirstThreeSets) {
    form.Option7[3].select();
    std::map<std::string, int> counts;
    for (int i = 0; i < 3000; ++i) ++counts[form.speech.ResToStr("A")];
    EXPECT_EQ(counts.size(), 3u);
    for (const char* clip : {"001", "101", "201"}) EXPECT_NEAR(counts[clip], 1000, 120) << clip;
}

}  // namespace
}  // namespace tessaly::testing
