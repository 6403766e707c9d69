#pragma once
// The look shared by the side panels of the pages, and the link labels.

#include <QLabel>
#include <QPixmap>
#include <QWidget>

class QVBoxLayout;

// A clickable text that is underlined while the mouse is over it.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    LinkLabel(const QString& objectName, const QString& caption, QWidget* parent = nullptr);
    void setIcon(const QPixmap& icon);
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void LienIN();
    void LienOUT();
    void render();
    QString caption_;
    QPixmap icon_;
    bool hover_ = false;
};

// A side panel: a header picture with the title, a stretched body and a
// footer picture.
class SidePanel : public QWidget
{
    Q_OBJECT
public:
    SidePanel(const QString& objectName, const QString& titleName, QWidget* parent = nullptr);

    QLabel* title() const { return title_; }
    QVBoxLayout* body() const { return body_; }
    LinkLabel* addLink(const QString& objectName, const QString& caption, const char* icon);

    // The three pictures, as DessinePanels copies them from panel to panel.
    void setPictures(const QPixmap& header, const QPixmap& bodyPicture, const QPixmap& footer);
    QPixmap header() const { return header_; }
    QPixmap bodyPicture() const { return bodyPicture_; }
    QPixmap footer() const { return footer_; }

    // Height the panel needs for what it holds.
    void fitHeight();

protected:
    void paintEvent(QPaintEvent* e) override;
    // Texts are measured again once the panel is on screen, in its final font.
    void showEvent(QShowEvent* e) override;

private:
    QLabel* title_;
    QVBoxLayout* body_;
    QPixmap header_, bodyPicture_, footer_;
};
