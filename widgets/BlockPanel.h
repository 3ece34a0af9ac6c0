#pragma once

#include <QFrame>

class QLabel;

// A block panel of the main window: navy (RGB 000080), 614 x 347, with its
// title across the top. Block panels derive from it and lay their controls
// out below the title.
class BlockPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int Width = 614;
    static constexpr int Height = 347;
    static constexpr int TitleHeight = 28;

    BlockPanel(const QString& objectName, const QString& title, QWidget* parent = nullptr);

    QLabel* TitleLabel() const { return title_; }

private:
    QLabel* title_;
};
