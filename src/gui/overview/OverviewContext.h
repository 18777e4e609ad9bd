#pragma once
// What the month overview and the year window need from the program, handed
// in (tests hand in their own).

#include <QString>
#include <QWidget>
#include <functional>

#include "core/store/DataFiles.h"
#include "core/store/Settings.h"

namespace pb {

struct OverviewContext {
    const DataFiles& files;
    // The calculation rules, read at each refresh; the printer last printed on.
    Settings& settings;
    // The data folder's file system (the printer choice is written through it).
    FileSystem& fs;
    // Writes the CSV and PDF files the operator chooses: the machine's own file
    // system even in a copy that may not write its data folder.
    FileSystem& target;
    // Asks where to save, suggesting a path and offering a file-type filter;
    // empty when the operator cancels.
    std::function<QString(QWidget* parent, const QString& suggested, const QString& filter)>
        chooseFile;
};

// `name` in the documents folder (the home folder when there is none).
QString DocumentsPath(const QString& name);

// Saves `bytes` at a path the operator chooses (starting in the documents
// folder with `name`), telling what happened; false when nothing was written.
bool SaveChosenFile(QWidget* parent, const OverviewContext& context, const QString& name,
                    const QString& filter, const std::string& bytes);

// Qt's save-file dialog, asking before it replaces a file.
QString ChooseSaveFile(QWidget* parent, const QString& suggested, const QString& filter);

}  // namespace pb
