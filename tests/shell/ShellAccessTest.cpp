#include "ShellAccess.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestShell.h"

namespace {

int hrOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ShellError& error) {
        return error.hr();
    }
    return 0;
}

}  // namespace

TEST(ShellAccess, raisesEPointerForEveryEmptyReference) {
    TestShellBackend backend;
    backend.failConnect();
    ShellAccess shell(backend);
    shell.connectShell();
    EXPECT_FALSE(shell.hasShell());
    EXPECT_EQ(hrOf([&] { shell.openFolder("/"); }), shell_hr::kPointer);
    EXPECT_EQ(hrOf([&] { shell.findItem("a.doc"); }), shell_hr::kPointer);
    EXPECT_EQ(hrOf([&] { shell.itemDetail(21); }), shell_hr::kPointer);
    EXPECT_EQ(hrOf([&] { shell.itemText(); }), shell_hr::kPointer);
    EXPECT_EQ(hrOf([&] { shell.expectItems("/", {}, true); }), shell_hr::kPointer);
    EXPECT_EQ(hrOf([&] { shell.columnHeading(21); }), shell_hr::kPointer);
    EXPECT_EQ(hrOf([&] { shell.releaseItem(); }), shell_hr::kPointer);
    EXPECT_EQ(hrOf([&] { shell.releaseFolder(); }), shell_hr::kPointer);
    EXPECT_EQ(hrOf([&] { shell.releaseShell(); }), shell_hr::kPointer);
}

TEST(ShellAccess, answersNoObjectWithAnEmptyReferenceNotAnError) {
    TempDir dir;
    TestShellBackend backend;
    ShellAccess shell(backend);
    shell.connectShell();
    shell.openFolder(dir.file("missing"));
    EXPECT_FALSE(shell.hasFolder());
    EXPECT_EQ(hrOf([&] { shell.findItem("a.doc"); }), shell_hr::kPointer);

    shell.openFolder(dir.path());
    shell.findItem("absent.doc");
    EXPECT_FALSE(shell.hasItem());
    EXPECT_EQ(hrOf([&] { shell.itemDetail(0); }), shell_hr::kPointer);
}

TEST(ShellAccess, releasesEachReferenceOnceAndHoldsNoneAfterwards) {
    TempDir dir;
    dir.write("a.doc");
    TestShellBackend backend;
    {
        ShellAccess shell(backend);
        shell.connectShell();
        shell.openFolder(dir.path());
        shell.findItem("a.doc");
        EXPECT_EQ(shell.itemDetail(0), "a.doc");
        EXPECT_EQ(shell.itemDetail(0), "a.doc");
        EXPECT_EQ(backend.liveObjects(), 3);
        shell.releaseItem();
        EXPECT_EQ(hrOf([&] { shell.releaseItem(); }), shell_hr::kPointer);
        shell.connectShell();  // a new connection replaces the old one
        EXPECT_EQ(backend.liveObjects(), 2);
    }
    EXPECT_EQ(backend.liveObjects(), 0);
}

TEST(ShellAccess, carriesTheFailingCallsHresult) {
    TempDir dir;
    dir.write("bad.doc");
    TestShellBackend backend;
    backend.failDetailsOf("bad.doc", shell_hr::kNotImpl);
    ShellAccess shell(backend);
    shell.connectShell();
    shell.openFolder(dir.path());
    shell.findItem("bad.doc");
    try {
        shell.itemDetail(21);
        FAIL() << "no ShellError";
    } catch (const ShellError& error) {
        EXPECT_EQ(error.hr(), shell_hr::kNotImpl);
        EXPECT_EQ(error.hexCode(), "0x80004001");
    }
}

TEST(ShellAccess, passesTheWishForTextsOnAndAsksTheItemsText) {
    TempDir dir;
    dir.write("a.docx");
    dir.write("b.docx");
    TestShellBackend backend;
    backend.setText("a.docx", "第一段");
    ShellAccess shell(backend);
    shell.connectShell();
    shell.openFolder(dir.path());
    shell.expectItems(dir.path(), {"a.docx", "b.docx"}, true);
    EXPECT_TRUE(backend.textExpected());
    shell.findItem("a.docx");
    EXPECT_EQ(shell.itemText(), "第一段");
    shell.findItem("b.docx");
    EXPECT_EQ(shell.itemText(), "");
}
