#include "DataFileCombo.h"

#include "DataFiles.h"
#include "FileDialogs.h"
#include "MainWindowHooks.h"

#include <QComboBox>
#include <QFile>
#include <QStringList>

void TDataFileList::Scan(const std::string& folder) {
    names_ = DataFileList(folder, kind_.pattern);
}

void FillDataFileCombo(QComboBox& combo, const TDataFileList& list, IMainWindowHooks& hooks) {
    if (list.Names().empty()) {
        hooks.ShowMessage(list.Kind().noneMessage);
    } else {
        QStringList items;
        for (const std::string& name : list.Names())
            items.append(QFile::decodeName(QByteArray::fromStdString(name)));
        const QSignalBlocker quiet(combo);
        combo.clear();
        combo.addItems(items);
    }
    if (combo.count() > 0)
        combo.setCurrentIndex(0);
}

std::string ChosenDataFile(const QComboBox& combo, const std::string& folder) {
    return DataFilePath(folder, LocalFileName(combo.currentText()));
}
