#pragma once
// Makes a widget a file drop target: it accepts files and folders dragged
// from a file manager (a list of local file URLs) and hands their paths on
// as one text, after the drop has completed. Every other kind of drop is
// refused.

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class QMimeData;
class QWidget;

namespace galmora {

// The local paths of the dropped items: the path alone when there is one,
// every path followed by "\r\n" when there are several; empty when the
// drop holds no local file.
QString dropped_paths_text(const QList<QUrl>& urls);

class FileDropFilter : public QObject {
    Q_OBJECT
  public:
    using Receiver = std::function<void(const QString& paths)>;
    // Installs itself on target (and owned by it).
    FileDropFilter(QWidget* target, Receiver receiver);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Receiver receiver_;
};

}  // namespace galmora
