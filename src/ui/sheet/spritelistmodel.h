#pragma once

#include "document/subscription.h"
#include "model/grid.h"
#include "model/tilesheet.h"

#include <QAbstractListModel>
#include <QImage>

#include <functional>
#include <string>
#include <vector>

namespace bitloom {

class Document;

// The sheet's sprites as one list for every view of them: the name box's
// drop-down and the Sprites window. Each row is a sprite: its name
// (DisplayRole), its drawing as an 8 x 8 image (DecorationRole) and what
// assistive technology reads for it (AccessibleTextRole). The current row
// shows the drawing being edited, the others their stored drawings.
//
// Drawings are looked up and painted only when a view asks for them, and
// kept until a change notice says they changed, so a long list costs no
// more to show than the rows in view. Rows are plain positions: a source
// of other sprites can append rows of its own behind the named ones.
class SpriteListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The stored drawing of the sprite at a row.
    using DrawingLookup = std::function<Shades(int row)>;

    explicit SpriteListModel(QObject* parent = nullptr);

    // A list that follows `document`: its names, its current sprite and
    // drawing, and its stored drawings as its change notices report them.
    static SpriteListModel* following(Document& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The names, in list order. Rows that keep their names keep their
    // place (only the rows between the unchanged start and end are removed
    // or inserted), so views keep their scroll position and focus; every
    // drawing may have changed. Emits listShown() once the rows are in.
    void setNames(const std::vector<std::string>& names);
    void setDrawingLookup(DrawingLookup lookup);
    // The current row (-1: none) and the drawing it shows.
    void setCurrent(int row);
    void setCurrentDrawing(const Grid& grid);
    // The stored drawings of these rows changed; or of every row.
    void drawingsChanged(const std::vector<int>& rows);
    void allDrawingsChanged();

    int currentRow() const { return mCurrent; }
    QString name(int row) const { return mNames.at(std::size_t(row)); }
    // How many drawings were painted since the list began: the cost of
    // showing it.
    int paintedCount() const { return mPainted; }

signals:
    // setNames() finished: the list as a whole was shown anew.
    void listShown();
    // The current row changed from `previous` to `current` (-1: none).
    void currentRowChanged(int current, int previous);

private:
    QImage thumbnail(int row) const;
    void forget(int row);

    std::vector<QString> mNames;
    DrawingLookup mLookup;
    Subscription mSubscription; // to the document it follows, if any
    int mCurrent = -1;
    bool mHasDrawing = false;
    Grid mDrawing{};
    // Painted drawings by row; a null image is one not painted yet.
    mutable std::vector<QImage> mThumbnails;
    mutable int mPainted = 0;
};

} // namespace bitloom
