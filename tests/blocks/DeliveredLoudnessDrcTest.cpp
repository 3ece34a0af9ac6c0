// The loudness and DRC files delivered beside the program, and the two
// documents their panels open: the files read without a problem as what
// they say they are, and the documents' alpha figures are the calculator's.

#include "Compressionunit.h"
#include "DeviceRig.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

const std::string DataDir = QMX_SOURCE_DATA_DIR;

std::vector<std::string> Delivered(const char* pattern) {
    std::vector<std::string> names;
    for (const QString& name : QDir(QString::fromStdString(DataDir)).entryList({pattern}, QDir::Files))
        names.push_back(name.toStdString());
    return names;
}

TEST(DeliveredLoudnessFiles, EachSetsTheLoudnessFilterAndLoadsWithoutAProblem) {
    const std::vector<std::string> files = Delivered("*.LD46xx");
    ASSERT_GE(files.size(), 3u);
    bool anotherRegister = false;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        DeviceRig rig;
        const std::optional<std::string> text = ReadTextFile(DataDir + "/" + name);
        ASSERT_TRUE(text);
        const ConfigRecordList list = rig.table.ReadRecords(*text, std::nullopt);
        EXPECT_TRUE(list.problems.empty()) << ::testing::PrintToString(list.problems);
        std::set<int> registers;
        for (const ConfigRecord& record : list.records)
            registers.insert(record.subAddress);
        EXPECT_TRUE(registers.count(0x95));
        anotherRegister |= registers.size() > 1;

        const FileReport report = rig.table.LoadConfigFile(DataDir + "/" + name);
        EXPECT_TRUE(report.opened);
        EXPECT_EQ(rig.TakeWrites().size(), list.records.size());
    }
    EXPECT_TRUE(anotherRegister);
}

TEST(DeliveredDrcFiles, EachCarriesTKOAndOneRegisterOfItsOwn) {
    const std::vector<std::string> files = Delivered("*.DRC46xx");
    ASSERT_GE(files.size(), 2u);
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        DeviceRig rig;
        const std::optional<std::string> text = ReadTextFile(DataDir + "/" + name);
        ASSERT_TRUE(text);
        for (int base : {0, TCompression::Drc2Offset}) {
            const ConfigRecordList list = rig.table.ReadRecords(*text, base);
            EXPECT_TRUE(list.problems.empty()) << ::testing::PrintToString(list.problems);
            std::multiset<int> registers;
            for (const ConfigRecord& record : list.records)
                registers.insert(record.subAddress);
            for (int key = 0x99; key <= 0x9B; ++key)
                EXPECT_EQ(registers.count(key + base), 1u) << std::hex << key + base;
            EXPECT_EQ(registers.size(), 4u);
        }
    }
}

// Every alpha of the DRC document's table, against the calculator.
TEST(DeliveredDrcDocument, AlphaTableAndExampleAreTheCalculators) {
    const std::optional<std::string> text = ReadTextFile(DataDir + "/QMX4600DRC.md");
    ASSERT_TRUE(text);
    const QString document = QString::fromStdString(*text);
    EXPECT_TRUE(document.contains(
        QString::fromStdString(TCompression::AlphaText(TCompression::CalcAlpha(1, 48000)).substr(0, 9))));
    const double rates[] = {44100, 48000, 96000, 192000};
    const QRegularExpression row(
        R"(^\| ([0-9.]+) ms \| ([0-9.]+) \| ([0-9.]+) \| ([0-9.]+) \| ([0-9.]+) \|$)",
        QRegularExpression::MultilineOption);
    int rows = 0;
    for (auto match = row.globalMatch(document); match.hasNext(); ++rows) {
        const QRegularExpressionMatch m = match.next();
        const double ms = m.captured(1).toDouble();
        for (int column = 0; column < 4; ++column)
            EXPECT_NEAR(m.captured(column + 2).toDouble(), TCompression::CalcAlpha(ms, rates[column]), 0.5e-7)
                << ms << " ms at " << rates[column];
    }
    EXPECT_GE(rows, 5);
}

TEST(DeliveredDocuments, AreMadeBesideTheProgram) {
    for (const char* name : {"QMX4600Loudness.PDF", "QMX4600DRC.PDF"}) {
        QFile pdf(QString(QMX_RUNTIME_DIR) + "/" + name);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(pdf.read(5) == "%PDF-") << name;
        EXPECT_GT(pdf.size(), 5000) << name;
    }
}

} // namespace
