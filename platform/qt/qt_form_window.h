#pragma once
// The Qt window behind a form (layer-internal): paints the form's composed frame and hands the
// pointer, showing, closing and state changes back to the form.
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace kelvox {

class Form;
class QtFormAccessibility;

class QtFormWindow : public QWidget {
    Q_OBJECT
public:
    explicit QtFormWindow(Form& form);
    // The form is going away: no more calls back into it.
    void Disconnect() { form_ = nullptr; }
    // The form's drawn controls for screen readers; null once the form is going away.
    QtFormAccessibility* accessibility() const;
    // The name readers are given for the window. Kept apart from the widget's own accessible name,
    // whose setting wakes the readers' bridge and its wait for the session bus at once, while the
    // window is still being built; the bridge wakes when the window shows.
    void SetReaderName(const QString& name) { reader_name_ = name; }
    const QString& ReaderName() const { return reader_name_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QImage* writable_backing_image(QPainter& painter);
    void compose(QImage& target, const QRect& area) const;
    void first_frame_shown();

    Form* form_;
    QImage frame_; // where the backing image cannot be composed into
    bool painted_ = false;
    QString reader_name_;
    // Wheel turns smaller than a notch (fine-grained wheels and touchpads), kept until they make one.
    int wheel_remainder_ = 0;
};

} // namespace kelvox
