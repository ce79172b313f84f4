#pragma once

#include <QLabel>
#include <QSize>
#include <QString>

namespace kelvra::ui {

// A label holding a picture of the resources that is decoded only when the label is first
// shown: pictures of pages that are never opened cost neither decoding time nor memory. The
// label has the picture's size from the start (read from the file's header), so it can be
// placed before it is shown.
class LazyPicture : public QLabel {
public:
    // A missing or unreadable picture leaves the label empty at the fallback size.
    LazyPicture(const QString& fileName, QSize fallback, QWidget* parent = nullptr);

    // Decodes the picture now if that has not happened yet; nothing happens for a missing one.
    void EnsureLoaded();
    bool Loaded() const { return m_loaded; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_fileName;
    bool m_loaded = false;
};

} // namespace kelvra::ui
