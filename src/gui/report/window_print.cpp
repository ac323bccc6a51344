#include "gui/report/window_print.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>

namespace vxl::report {

AskPdfPath PdfFileDialog(QWidget* parent) {
    return [parent](const std::string& suggestedName) {
        QFileDialog dialog(parent, QObject::tr("Save Report as PDF"),
                           QDir::current().filePath(QString::fromStdString(suggestedName)),
                           QObject::tr("PDF files (*.pdf)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        const bool waiting = QGuiApplication::overrideCursor() != nullptr;
        if (waiting) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        if (waiting) QGuiApplication::restoreOverrideCursor();
        if (!accepted || dialog.selectedFiles().isEmpty()) return std::string();
        return dialog.selectedFiles().front().toStdString();
    };
}

}  // namespace vxl::report
