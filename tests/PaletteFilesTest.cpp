// Palettes other tools read: a theme through .gpl or .json and back keeps
// its 42 words and display size; entries go by name or by place; a bad file
// is refused with its line and leaves the theme as it was.

#include "PaletteFiles.h"
#include "ThemeSlots.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string Repeated(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

}  // namespace

TEST(PaletteFiles, RoundTripsKeepWordsAndDisplay)
{
    std::mt19937 random(26);
    for (PaletteFormat format : {PaletteFormat::Gpl, PaletteFormat::Json})
        for (bool small : {false, true}) {
            TPackedTheme words{};
            for (TRGB565& w : words)
                w = static_cast<TRGB565>(random());
            PaletteRead read;
            PaletteError error;
            ASSERT_TRUE(ReadPalette(format, WritePalette(format, words, small, "Mine \"x\"\n"), read, error)) << error.reason;
            EXPECT_EQ(read.words, words);
            EXPECT_EQ(read.smallDisplay, std::optional<bool>(small));
            for (bool given : read.given)
                EXPECT_TRUE(given);
        }
    TPackedTheme words{};
    words[41] = 0xF800;
    const std::string header = WritePalette(PaletteFormat::CHeader, words, false, "t");
    EXPECT_NE(header.find("static const uint16_t larkspur_theme[42] = {"), std::string::npos);
    EXPECT_NE(header.find("    0xF800,  /* Charge_Clock */\n};"), std::string::npos);
}

TEST(PaletteFiles, EntriesGoByNameElseByPlace)
{
    PaletteRead read;
    read.words.fill(0x1234);
    PaletteError error;
    // Named out of order, one unnamed (the second entry: slot 1), one by an
    // unknown name (the fourth: slot 3).
    ASSERT_TRUE(ReadPalette(PaletteFormat::Gpl,
                            "GIMP Palette\r\nName: x\r\n# a comment\r\n255 0 0 Menu_Cursor\r\n0 255 0\r\n"
                            "\r\n0 0 255\tmain_dom\r\n8 8 8 Sky\r\n",
                            read, error))
        << error.reason;
    EXPECT_EQ(read.words[SlotIndex(SlotId::Menu_Cursor)], 0xF800);
    EXPECT_EQ(read.words[1], 0x07E0);
    EXPECT_EQ(read.words[SlotIndex(SlotId::Main_Dom)], 0x001F);
    EXPECT_EQ(read.words[3], 0x0841);
    EXPECT_EQ(read.words[0], 0x1234);
    EXPECT_FALSE(read.given[0]);
    EXPECT_FALSE(read.smallDisplay.has_value());

    PaletteRead list;
    ASSERT_TRUE(ReadPalette(PaletteFormat::Json, R"j({"slots": ["#FFFFFF", "rgb(0, 0, 255)"]})j", list, error));
    EXPECT_EQ(list.words[0], 0xFFFF);
    EXPECT_EQ(list.words[1], 0x001F);
}

// A UTF-8 mark is taken in every format, and words that agree with the
// colours are no fault.
TEST(PaletteFiles, MarksAndAgreeingWordsAreTaken)
{
    for (const auto& [format, text] : std::initializer_list<std::pair<PaletteFormat, std::string>>{
             {PaletteFormat::Gpl, "\xEF\xBB\xBFGIMP Palette\n255 255 255 Main_Dom\n"},
             {PaletteFormat::Json, "\xEF\xBB\xBF{\"slots\": {\"Main_Dom\": \"#FFFFFF\"}, \"words\": {\"Main_Dom\": \"0xFFFF\"}}"},
         }) {
        PaletteRead read;
        PaletteError error;
        EXPECT_TRUE(ReadPalette(format, text, read, error)) << error.line << ": " << error.reason;
        EXPECT_EQ(read.words[std::size_t(SlotIndex(SlotId::Main_Dom))], 0xFFFF);
    }
}

TEST(PaletteFiles, BadFilesAreRefusedByLineAndChangeNothing)
{
    struct Case {
        PaletteFormat format;
        std::string text;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {PaletteFormat::Gpl, "JASC-PAL\n0100\n", 1, "not a GIMP palette"},
        {PaletteFormat::Gpl, "GIMP Palette\n0 0 0 Main_Dom\n256 0 0 Menu_Text\n", 3, "0 to 255"},
        {PaletteFormat::Gpl, "GIMP Palette\n12 34\n", 2, "three numbers"},
        {PaletteFormat::Gpl, "GIMP Palette\n1 2 3x\n", 2, "three numbers"},
        {PaletteFormat::Gpl, "GIMP Palette\n# Display: 128x128\n", 2, "240x320 or 80x160"},
        {PaletteFormat::Json, "{\n  \"slots\": {\n    \"Main_Dom\": \"#12345\"\n  }\n}", 3, "colour"},
        {PaletteFormat::Json, "{\n  \"slots\": {\n    \"Main_Dome\": \"#123456\"\n  }\n}", 3, "no slot is called \"Main_Dome\""},
        {PaletteFormat::Json, "{\n  \"slots\": {\"Main_Dom\": \"#123456\",}\n}", 2, "member name"},
        {PaletteFormat::Json, "{\"display\": \"big\", \"slots\": {}}", 1, "\"240x320\" or \"80x160\""},
        {PaletteFormat::Json, "[1, 2]", 1, "JSON object"},
        {PaletteFormat::Json, "{\"name\": \"x\"}", 1, "no \"slots\""},
        {PaletteFormat::Json, "{\"slots\": {}} x", 1, "more after the value"},
        {PaletteFormat::Json, "{\"slots\": \"\\ud800\"}", 1, "surrogate"},
        {PaletteFormat::Json, std::string(100, '['), 1, "nested too deeply"},
        {PaletteFormat::Json, "{\"slots\": {\"Main_Dom\": 1e999}}", 1, "out of range"},
        {PaletteFormat::Json, "{\"slots\": {\"Main_Dom\": \"rgb(300, 0, 0)\"}}", 1, "colour"},
        {PaletteFormat::Json, "{\n\"slots\": {\"Main_Dom\": \"#1234", 2, "not closed"},
        {PaletteFormat::Json, "{\"slots\": [" + Repeated("\"#000000\",", 42) + "\"#FFFFFF\"]}", 1, "more than 42"},
        {PaletteFormat::Gpl, "GIMP Palette\n" + Repeated("1 2 3\n", 42) + "4 5 6\n", 44, "more than 42"},
        {PaletteFormat::CHeader, "", 0, "not read"},
        // A palette that contradicts itself: a slot twice, words not its colours.
        {PaletteFormat::Gpl, "GIMP Palette\n1 2 3 Main_Dom\n4 5 6 Main_Dom\n", 3, "Main_Dom is given twice"},
        {PaletteFormat::Json, "{\"slots\": {\"Main_Dom\": \"#000000\",\n\"Main_Dom\": \"#FFFFFF\"}}", 2,
         "Main_Dom is given twice"},
        {PaletteFormat::Json, "{\"slots\": {},\n\"slots\": {\"Main_Dom\": \"#FFFFFF\"}}", 2, "\"slots\" is given twice"},
        {PaletteFormat::Json, "{\"slots\": {\"Main_Dom\": \"#FFFFFF\"},\n\"words\": {\n\"Main_Dom\": \"0x0000\"}}", 3,
         "\"words\" says 0x0000 for Main_Dom, \"slots\" 0xFFFF"},
        {PaletteFormat::Json, "{\"slots\": {\"Main_Dom\": \"#FFFFFF\"}, \"words\": {\"Main_Clock\": \"0xFFFF\"}}", 1,
         "\"slots\" nothing"},
    };
    for (const Case& c : cases) {
        PaletteRead read;
        read.words.fill(0xABCD);
        PaletteError error;
        EXPECT_FALSE(ReadPalette(c.format, c.text, read, error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.text << ": " << error.reason;
        for (TRGB565 w : read.words)
            ASSERT_EQ(w, 0xABCD) << c.text;
    }
}
