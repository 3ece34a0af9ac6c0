#include "AppFixture.h"

#include "Mainunit.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>

#include <cstdio>

ProgramTest::ProgramTest() : startDir_(temp_.path()), previousDir_(QDir::currentPath()) {
    Deliver("QMX4600.addr");
    Deliver("QMX4600Init.cfg");
    // The pictures made at build time, as the program finds them beside it.
    for (const char* picture : {"GreenMultiply.BMP", "RedMultiply.BMP", "BlueMultiply.BMP",
                                "QMX4600BassMan4Ch.jpg", "QMX4600BassMan3Ch.jpg"})
        DeliverBuilt(picture);
}

void ProgramTest::DeliverBuilt(const QString& fileName) {
    ASSERT_TRUE(QFile::copy(QString(QMX_RUNTIME_DIR) + '/' + fileName, StartFile(fileName)))
        << fileName.toStdString();
}

ProgramTest::~ProgramTest() {
    program_.reset();
    QDir::setCurrent(previousDir_);
}

void ProgramTest::Deliver(const QString& fileName) {
    ASSERT_TRUE(QFile::copy(QString(QMX_SOURCE_DATA_DIR) + '/' + fileName, StartFile(fileName)))
        << fileName.toStdString();
}

void ProgramTest::Start(const std::function<void(SimulatedQmx4600&)>& prepare, bool adapterCreated) {
    QDir::setCurrent(startDir_.path());
    auto createAdapter = [this, prepare, adapterCreated]() -> std::unique_ptr<IPMBusTransport> {
        if (!adapterCreated)
            return nullptr;
        auto sim = std::make_unique<SimulatedQmx4600>(
            SimulatedQmx4600::SizesFromMapFile(QString(QMX_SOURCE_DATA_DIR "/QMX4600.addr").toStdString()));
        if (prepare)
            prepare(*sim);
        sim_ = sim.get();
        return sim;
    };
    program_ = std::make_unique<TProgram>(ProgramServices{createAdapter, dialogs_, AppBoxes(), *documents_});
}

std::vector<QWidget*> ProgramTest::TopWindows() const {
    std::vector<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.push_back(w);
    return windows;
}

void ProgramTest::Click(const char* buttonName) {
    if (auto* button = Find<QAbstractButton>(buttonName))
        button->click();
}

void ProgramTest::Trigger(const char* actionName) {
    auto* action = Main().findChild<QAction*>(actionName);
    ASSERT_NE(action, nullptr) << actionName;
    action->trigger();
}

QString ProgramTest::Text(const char* labelName) const {
    auto* label = Find<QLabel>(labelName);
    return label ? label->text() : QString();
}

namespace {

std::vector<SimulatedQmx4600::Call> OfKind(const std::vector<SimulatedQmx4600::Call>& calls,
                                           SimulatedQmx4600::CallKind kind) {
    std::vector<SimulatedQmx4600::Call> found;
    for (const auto& call : calls)
        if (call.kind == kind)
            found.push_back(call);
    return found;
}

} // namespace

std::vector<SimulatedQmx4600::Call> ProgramTest::Writes(const std::vector<SimulatedQmx4600::Call>& calls) {
    return OfKind(calls, SimulatedQmx4600::CallKind::Write);
}

std::vector<SimulatedQmx4600::Call> ProgramTest::Reads(const std::vector<SimulatedQmx4600::Call>& calls) {
    return OfKind(calls, SimulatedQmx4600::CallKind::Read);
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (uint8_t b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", b);
        text += (text.empty() ? "" : " ") + std::string(hex);
    }
    return text;
}
