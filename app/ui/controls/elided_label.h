#pragma once

#include <QString>
#include <QWidget>

// A label of one line for a text that may be longer than the label is wide, such as a list of
// paths: what does not fit is left out in the middle ("/home/me/vm…/WINDOWS"), and the whole
// text shows in its tool tip then.
class TElidedLabel : public QWidget {
public:
    explicit TElidedLabel(QWidget* Parent = nullptr);

    const QString& Text() const { return FText; }
    void SetText(const QString& Value);
    // The text as painted at the label's width.
    QString ShownText() const;
    // Shown in the tool tip after the text, also when the text fits.
    void SetDetails(const QString& Value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    QString FText;
    QString FDetails;
};
