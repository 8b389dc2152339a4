// The main window's and the project list's rules without a window.
#include <gtest/gtest.h>

#include "app/framerules.h"
#include "workspace/documentrules.h"
#include "editors/commentrules.h"
#include "editors/projectsession.h"
#include "editors/rowdrag.h"
#include "patch/projectdocument.h"
#include "tests/testfiles.h"

#include <algorithm>

using namespace orb8;

TEST(FrameRules, FileKindsExtensionsAndCaptions) {
    EXPECT_EQ(KindOfPath("/a/Bank.ORB"), DocumentKind::Project);
    EXPECT_EQ(KindOfPath("/a/set.dst"), DocumentKind::CustomDist);
    EXPECT_EQ(KindOfPath("/a/x.orbx"), DocumentKind::None);
    EXPECT_EQ(KindOfPath("/a.orb/x"), DocumentKind::None);  // only the file-name part counts
    EXPECT_EQ(KindOfPath("orb"), DocumentKind::None);
    EXPECT_EQ(WithExtension("/a/bank", DocumentKind::Project), "/a/bank.orb");
    EXPECT_EQ(WithExtension("/a/bank.ORB", DocumentKind::Project), "/a/bank.ORB");
    EXPECT_EQ(WithExtension("/a/set", DocumentKind::CustomDist), "/a/set.dst");
    EXPECT_EQ(DocumentCaption("", "NoName3", true), "NoName3*");
    EXPECT_EQ(DocumentCaption("/b.orb", "NoName3", false), "/b.orb");
    EXPECT_EQ(WindowListText(8, "x"), "&9:x");
    EXPECT_EQ(WindowListText(10, "x"), "11:x");
    EXPECT_EQ(WindowListShortcutDigit(8), 9);
    EXPECT_EQ(WindowListShortcutDigit(9), 0);
    EXPECT_TRUE(KeepsPathAfterFailedLoad(false));
    EXPECT_FALSE(KeepsPathAfterFailedLoad(true));
    // Save over a file the document never read or wrote asks first.
    EXPECT_TRUE(SaveMustAsk(false, true));
    EXPECT_FALSE(SaveMustAsk(true, true));
    EXPECT_FALSE(SaveMustAsk(false, false));
}

// Opening a file that is open already finds its document, by any spelling
// of the path; a document that only carries the name (a failed open) does not count.
TEST(FrameRules, AFileIsOpenOnce) {
    TempDir dir;
    ProjectSession saved(DefaultCustomSettings()), blank(DefaultCustomSettings()), untitled(DefaultCustomSettings());
    saved.SetFileName(dir.Path("a.orb"));
    ASSERT_TRUE(saved.Save().ok());
    blank.SetFileName(dir.Path("b.orb"));  // never read or written
    const std::vector<Document*> open{&untitled, &blank, &saved};
    EXPECT_EQ(OpenDocumentOfFile(open, dir.Path("a.orb")), &saved);
    EXPECT_EQ(OpenDocumentOfFile(open, dir.Path(".") + "/a.orb"), &saved);
    std::filesystem::create_symlink(dir.Path("a.orb"), dir.Path("link.orb"));
    EXPECT_EQ(OpenDocumentOfFile(open, dir.Path("link.orb")), &saved);
    EXPECT_EQ(OpenDocumentOfFile(open, dir.Path("b.orb")), nullptr);
    EXPECT_EQ(OpenDocumentOfFile(open, dir.Path("c.orb")), nullptr);
    // Its file moved away: the window still holds the bank.
    std::filesystem::rename(dir.Path("a.orb"), dir.Path("away.orb"));
    EXPECT_EQ(OpenDocumentOfFile(open, dir.Path("a.orb")), &saved);
}

TEST(FrameRules, CommandLine) {
    CommandLine line = ParseCommandLine({"-E", "/a/one.orb", "two.DST", "-x.orb"});
    EXPECT_TRUE(line.english);
    EXPECT_EQ(line.files, (std::vector<std::string>{"/a/one.orb", "two.DST"}));
    ASSERT_EQ(line.problems.size(), 1u);  // an option it does not know
    line = ParseCommandLine({"--", "-x.orb", "caf\xE9.orb", "/E"});
    EXPECT_FALSE(line.english);
    EXPECT_EQ(line.files, (std::vector<std::string>{"-x.orb", "caf\xE9.orb"}));  // bytes kept as they are
    EXPECT_EQ(line.problems.size(), 1u);  // "/E" after a file is a path, and no document
    line = ParseCommandLine({"--screenshot", "shot.png", "-E", "bank.orb"});
    EXPECT_EQ(line.screenshot, "shot.png");
    EXPECT_TRUE(line.english);
    EXPECT_EQ(line.files, std::vector<std::string>{"bank.orb"});
    EXPECT_EQ(ParseCommandLine({"notes.txt"}).problems.size(), 1u);
    EXPECT_EQ(ParseCommandLine({"--screenshot"}).problems.size(), 1u);
    line = ParseCommandLine({"[a.orb,b.orb]", "x.orb", "c,d.orb"});  // names, never lists
    EXPECT_EQ(line.files, (std::vector<std::string>{"x.orb", "c,d.orb"}));
    EXPECT_EQ(line.problems.size(), 1u);
    line = ParseCommandLine({"-E=1", "bank.orb", "--", "-Ex.orb"});  // no option, said as given
    EXPECT_FALSE(line.english);
    EXPECT_EQ(line.problems, std::vector<std::string>{"\"-E=1\" is no option of orb8ed (-E, --screenshot FILE)."});
    EXPECT_EQ(line.files, (std::vector<std::string>{"bank.orb", "-Ex.orb"}));
    EXPECT_EQ(ParseCommandLine({"--screenshot", "-Eshot.png"}).screenshot, "-Eshot.png");  // a value, not an option
    line = ParseCommandLine({"--help", "bank.orb"});
    EXPECT_NE(line.help.find("--screenshot"), std::string::npos);
    EXPECT_TRUE(line.files.empty());
}

TEST(FrameRules, IdleEnabling) {
    FrameState none;
    FrameEnabling e = IdleEnabling(none);
    EXPECT_FALSE(e.save || e.saveAs || e.copy || e.paste || e.comment);
    EXPECT_EQ(e.transferButtons, false);
    EXPECT_FALSE(e.receiveAll.has_value());
    FrameState project{DocumentKind::Project, true, true, false};
    e = IdleEnabling(project);
    EXPECT_TRUE(e.save && e.saveAs && e.copy && e.comment);
    EXPECT_FALSE(e.paste);
    EXPECT_EQ(e.receiveAll, true);
    EXPECT_TRUE(e.transferButtonsGreen && e.channelMenu && e.onLineLook);
    EXPECT_STREQ(e.onLineCaption, "Off &Line");
    FrameState dist{DocumentKind::CustomDist, false, false, true};
    e = IdleEnabling(dist);
    EXPECT_TRUE(e.saveAs);
    EXPECT_FALSE(e.save || e.copy || e.paste || e.comment);
    EXPECT_EQ(e.receiveAll, false);
    EXPECT_FALSE(e.transferButtons.has_value());  // left as they are
}

TEST(RowDrag, PreviewOrderAndDrop) {
    RowDrag d;
    d.Start(2, 0);
    auto order = [&](int from, int to) {
        std::vector<int> v;
        for (int r = from; r <= to; ++r) v.push_back(d.ShownRow(r));
        return v;
    };
    EXPECT_TRUE(d.OverRow(5));
    EXPECT_EQ(order(1, 6), (std::vector<int>{1, 3, 4, 5, 2, 6}));
    EXPECT_FALSE(d.OverRow(5));
    EXPECT_TRUE(d.OverRow(1));
    EXPECT_EQ(order(1, 3), (std::vector<int>{2, 1, 3}));
    EXPECT_TRUE(d.OverNothing());
    EXPECT_EQ(order(1, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(d.HeadingScrollDue(30));
    EXPECT_TRUE(d.HeadingScrollDue(31));
    EXPECT_FALSE(d.HeadingScrollDue(50));
    d.OverRow(80);
    EXPECT_EQ(d.Drop(), std::make_optional(std::make_pair(2, 80)));
    EXPECT_FALSE(d.Active());
    d.Start(0, 0);  // the heading: no drag
    EXPECT_FALSE(d.Active());
    d.Start(7, 0);
    EXPECT_EQ(d.Drop(), std::nullopt);
}

// A block dragged by any of its rows shows, at every pointer row, the order
// the drop then gives the bank.
TEST(RowDrag, ABlockPreviewsWhatItsMoveGives) {
    ProjectDocument numbered;
    for (int r = 1; r <= kPatchCount; ++r) numbered.SetCommentOfRow(r, std::to_string(r));
    for (const int size : {2, 3, 5})
        for (int first = 1; first + size - 1 <= kPatchCount; first += 3)
            for (int grab = first; grab < first + size; grab += 2)
                for (int pointer = 1; pointer <= kPatchCount; pointer += 6) {
                    RowDrag d;
                    d.Start(grab, 0, first, first + size - 1);
                    d.OverRow(pointer);
                    ProjectDocument moved = numbered;
                    const int to = d.Target();
                    EXPECT_EQ(to - first, std::clamp(pointer - grab, 1 - first, kPatchCount - size + 1 - first));
                    if (to != first) {
                        ASSERT_TRUE(moved.MoveRows(first, first + size - 1, to));
                    }
                    for (int r = 1; r <= kPatchCount; ++r)
                        ASSERT_EQ(moved.CommentOfRow(r), std::to_string(d.ShownRow(r)))
                            << "block " << first << "+" << size << " grabbed at " << grab << " over " << pointer;
                    const auto drop = d.Drop();
                    EXPECT_EQ(drop.has_value(), to != first);
                    if (drop) {
                        EXPECT_EQ(*drop, std::make_pair(first, to));
                    }
                }
}

TEST(CommentRules, LimitsAndHandBack) {
    EXPECT_TRUE(CommentFits(std::string(250, 'a')));
    EXPECT_FALSE(CommentFits(std::string(251, 'a')));
    std::string accents;
    for (int i = 0; i < 128; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(Utf8Length(accents), 128);
    EXPECT_FALSE(CommentFits(accents));  // 256 bytes
    EXPECT_EQ(HandBackBytes("caf\xE9", "caf\xC3\xA9", "caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(HandBackBytes("caf\xE9", "caf\xC3\xA9", "cafe"), "cafe");
}
