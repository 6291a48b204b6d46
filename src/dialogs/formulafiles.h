#pragma once
// The user's script formulas: one "<name>.txt" file each (code page 936) in the program
// folder's 公式 folder. Written by the formula editor, listed and read by the workbench.
#include <QString>
#include <QStringList>

namespace dialogs {

// The formula folder (an existing folder whose name differs only in case is used).
QString FormulaFolder();
// A formula file's path from its listed name ("A.txt"), matched without regard to case.
QString FormulaFilePath(const QString& fileName);
// The "*.txt" files of the folder (ordinary files only), by name; empty when it is missing.
QStringList ListFormulaFiles();
// Creates the folder when it is missing; false with a reason when it cannot be made.
bool EnsureFormulaFolder(QString* error = nullptr);

// Reads a listed formula whole; false with the reason when it cannot be read.
bool ReadFormulaFile(const QString& fileName, QString* text, QString* error = nullptr);
// Why a name cannot be a formula's file name (empty when it can): a name must stay inside the
// folder and be valid on every file system the program runs on.
QString FormulaNameProblem(const QString& name);
// Stores text under name + ".txt" (replacing an existing formula of that name, whatever its
// case), Windows line ends and one closing line break, atomically.
bool WriteFormulaFile(const QString& name, const QString& text, QString* error = nullptr);
// Deletes a listed formula; false with the reason when it cannot be removed.
bool DeleteFormulaFile(const QString& fileName, QString* error = nullptr);

}  // namespace dialogs
