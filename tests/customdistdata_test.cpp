#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "customdist/customdistdata.h"
#include "customdist/response.h"
#include "tests/testfiles.h"

using namespace orb8;

TEST(CustomDistDocument, NewDocumentDefaults) {
    const CustomDistData d = CustomDistData::NewDocument();
    EXPECT_EQ(d.filters[0].freq, 120);
    EXPECT_EQ(d.filters[9].freq, 630);
    EXPECT_EQ(d.filters[13].freq, 2500);
    EXPECT_EQ(d.filters[15].freq, 80);
    EXPECT_EQ(d.filters[3].freq, 0);
    EXPECT_EQ(d.filters[12].q, 0);
    EXPECT_EQ(d.clippers[1], ClipperPresets()[0].block);
    for (const auto& image : d.images) EXPECT_EQ(image, FilterDeviceImage{});
    // Coefficients were computed: off filters are identities.
    EXPECT_EQ(d.filters[4].coefNibbles[6], 2);
}

TEST(CustomDistDocument, NewFileBytes) {
    TempDir dir;
    CustomDistDocument doc;
    doc.fileName = dir.Path("new.dst");
    ASSERT_TRUE(doc.Save().ok());
    const auto bytes = ReadAll(doc.fileName);
    ASSERT_EQ(bytes.size(), 1836u);
    for (int set = 0; set < 2; ++set) {
        const std::uint8_t* base = bytes.data() + set * 918;
        for (int slot = 0; slot < 8; ++slot) {
            const std::uint8_t* rec = base + slot * 112;
            for (int k = 2; k < 8; ++k) EXPECT_EQ(rec[k], 0);
            EXPECT_EQ(rec[110], 0);
            EXPECT_EQ(rec[111], 0);
            if (slot == 3 || slot == 4) {
                for (int k = 0; k < 40; ++k) EXPECT_EQ(rec[k], 0) << slot;
            }
        }
        const std::uint8_t clip[22] = {0x00, 0x09, 0x04};
        EXPECT_EQ(std::memcmp(base + 896, clip, 22), 0);
    }
}

TEST(CustomDistDocument, OpenAndSaveWithoutEditsIsByteIdentical) {
    TempDir dir;
    CustomDistDocument doc;
    doc.data.filters[2].freq = 1234.5;  // only possible from a file
    doc.data.filters[2].reserved[0] = 7;
    doc.data.ApplyClipperPreset(1, 5);
    doc.data.clippers[0][5] = 0x99;
    doc.fileName = dir.Path("a.dst");
    ASSERT_TRUE(doc.Save().ok());
    CustomDistDocument back;
    back.fileName = doc.fileName;
    ASSERT_TRUE(back.Load().ok());
    back.fileName = dir.Path("b.dst");
    ASSERT_TRUE(back.Save().ok());
    EXPECT_EQ(ReadAll(dir.Path("a.dst")), ReadAll(dir.Path("b.dst")));
}

TEST(CustomDistDocument, ShortFileLoadsAsFarAsItGoesLongerIsRefused) {
    TempDir dir;
    CustomDistDocument source;
    source.data.filters[0].freq = 777;
    source.data.filters[8].freq = 888;
    auto bytes = source.data.FileImage();
    bytes.resize(918 + 40);  // set 0, then part of set 1's first record
    WriteAll(dir.Path("s.dst"), bytes);
    CustomDistDocument doc;
    doc.fileName = dir.Path("s.dst");
    const FileResult r = doc.Load();
    EXPECT_EQ(r.problem, FileProblem::Short);
    EXPECT_TRUE(r.loaded());
    EXPECT_EQ(doc.data.filters[0].freq, 777);
    EXPECT_EQ(doc.data.filters[8].freq, 888);   // Freq lies within the bytes read
    EXPECT_EQ(doc.data.filters[9].freq, 630);   // the rest keeps the new-document value
    EXPECT_NE(FileMessage(r, "custom distortion file").find("958 of 1836"), std::string::npos);

    bytes = source.data.FileImage();
    bytes.push_back(0);
    WriteAll(dir.Path("l.dst"), bytes);
    CustomDistDocument longer;
    longer.fileName = dir.Path("l.dst");
    EXPECT_EQ(longer.Load().problem, FileProblem::TooLong);
    EXPECT_EQ(longer.data.filters[0].freq, 120);
}

TEST(CustomDistDocument, AFailedSaveAndAMissingFileAreReported) {
    CustomDistDocument doc;
    doc.fileName = "/nonexistent/dir/x.dst";
    const FileResult r = doc.Save();
    EXPECT_EQ(r.problem, FileProblem::WriteFailed);
    EXPECT_EQ(doc.Load().problem, FileProblem::CannotOpen);
}

TEST(CustomDistDocument, QuantiseAllSnapsBothSetsToDeviceSteps) {
    CustomDistData d = CustomDistData::NewDocument();
    d.filters[1].freq = 1234;
    d.filters[1].gain = -11.95;
    d.filters[1].q = 0.29;
    d.filters[1].type = FilterLowPass6;
    d.filters[14].gain = 3.33;
    d.QuantiseAll();
    EXPECT_EQ(d.filters[1].freq, 1230);
    EXPECT_NEAR(d.filters[1].gain, -11.9, 1e-9);
    EXPECT_NEAR(d.filters[1].q, 0.29, 1e-9);
    EXPECT_EQ(d.filters[1].type, FilterLowPass6);
    EXPECT_NEAR(d.filters[14].gain, 3.3, 1e-9);
    // A second pass changes nothing.
    const CustomDistData once = d;
    d.QuantiseAll();
    for (int n = 0; n < kFilterCount; ++n) EXPECT_EQ(ToImage(d.filters[static_cast<std::size_t>(n)]), ToImage(once.filters[static_cast<std::size_t>(n)])) << n;
}

TEST(CustomDistDocument, TransferPayloads) {
    CustomDistData d = CustomDistData::NewDocument();
    d.filters[5].coefNibbles[0] = 0xFF;  // masked on the way out
    d.EncodeAll();
    const auto data = d.FilterDumpData(5);
    EXPECT_EQ(data[0], 0x0F);
    EXPECT_EQ(data[30], d.images[5][15]);
    EXPECT_EQ(data[34], d.images[5][19]);

    std::array<std::uint8_t, 20> image{};
    image[15] = 0x81;
    image[16] = 0xDC;
    image[17] = 0x04;
    image[18] = 0x3B;
    image[19] = 0x69;
    d.TakeFilterImage(3, image);
    const auto coefBefore = d.filters[3].coef;
    d.DecodeAll();
    EXPECT_EQ(d.filters[3].freq, 1230);
    EXPECT_EQ(d.filters[3].coef, coefBefore);  // a receive changes no coefficient

    d.clippers[0][22] = 0xAB;
    std::array<std::uint8_t, 22> clip{};
    clip.fill(0x11);
    d.TakeClipperBytes(0, clip);
    EXPECT_EQ(d.clippers[0][21], 0x11);
    EXPECT_EQ(d.clippers[0][22], 0xAB);
}

TEST(CustomDistDocument, PresetsApplyAndMatch) {
    CustomDistData d = CustomDistData::NewDocument();
    d.ApplyClipperPreset(1, 4);  // "Modern OD clipper"
    EXPECT_EQ(d.filters[11].type, FilterHighPass6);
    EXPECT_EQ(d.filters[11].trim, 10);
    EXPECT_EQ(d.filters[12].freq, 5000);
    EXPECT_EQ(MatchingClipperPreset(d.clippers[1]), 4);
    d.clippers[1][0] ^= 1;
    EXPECT_EQ(MatchingClipperPreset(d.clippers[1]), -1);
    for (const auto& p : ClipperPresets()) {
        EXPECT_EQ(p.block[22], 0);
        EXPECT_EQ(p.block[23], 0);
    }
    EXPECT_EQ(ClipperPresets()[12].name, "Tube rectified");
}

TEST(Response, FrequenciesAndMagnitudes) {
    const auto& f = PlotFrequencies();
    EXPECT_EQ(f[0], 10);
    EXPECT_NEAR(f[99], 18000, 1e-4);
    FilterRecord off;
    EXPECT_EQ(FilterMagnitude(off, 1000), 1);
    FilterRecord peak;
    peak.on = 1;
    peak.freq = 1000;
    peak.gain = 6;
    peak.q = 1;
    ComputeCoefficients(peak);
    EXPECT_NEAR(20 * std::log10(FilterMagnitude(peak, 1000)), 6, 0.01);
    EXPECT_NEAR(20 * std::log10(FilterMagnitude(peak, 20)), 0, 0.05);

    FilterRecord hp;
    hp.on = 1;
    hp.type = FilterHighPass12;
    hp.freq = 80;
    hp.q = 0.71;
    ComputeCoefficients(hp);
    const FilterRecord* list[] = {&hp, &off};
    const auto levels = ResponseLevels(list);
    EXPECT_LT(levels[0], -20);          // falls toward 10 Hz
    EXPECT_NEAR(levels[60], 0, 0.1);    // flat above a few hundred hertz
}

TEST(Response, PlotGeometry) {
    const PlotGeometry g = PlotGrid(397, 193);
    EXPECT_EQ(g.levelLines[0], 49);
    EXPECT_EQ(g.levelLines[1], 97);
    EXPECT_EQ(g.levelLines[2], 145);
    EXPECT_EQ(g.zeroDbY, 97);
    EXPECT_EQ(g.freqLines[0], static_cast<int>(1 + 30.4122 * 4 + 0.5));
    std::array<double, kPlotPoints> flat{};
    const auto points = CurvePoints(flat, 397, 193);
    EXPECT_EQ(points[0].x, 1);
    EXPECT_EQ(points[99].x, 397);
    for (const auto& p : points) EXPECT_EQ(p.y, 97);
    std::array<double, kPlotPoints> wild{};
    wild[0] = std::nan("");
    wild[1] = -INFINITY;
    wild[2] = INFINITY;
    wild[3] = 24;
    const auto odd = CurvePoints(wild, 397, 193);
    EXPECT_GT(odd[0].y, 193);
    EXPECT_GT(odd[1].y, 193);
    EXPECT_LT(odd[2].y, 0);
    EXPECT_EQ(odd[3].y, 1);
}
