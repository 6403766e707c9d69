#pragma once
// The program's pictures, drawn once: the product picture of the splash and
// the about box, and the header, body and footer of the side panels.

#include <QPixmap>

namespace pictures
{

QPixmap product();                  // 357 × 400
QPixmap panelHeader(int width);     // title band
QPixmap panelBody();                // stretched to fill the panel
QPixmap panelFooter(int width);     // rounded bottom
QPixmap linkIcon(const char* kind); // "new", "preview", "print", "export", "quit", "delete", "back"

// The 15 × 15 pictures of the application listing, also shown by its legend.
enum class ListingIcon {
    CandidatureEnCours,
    CandidatureTerminee,
    Img_Attention,
    Img_societe,
    Img_cabinet,
    Img_interim,
    Img_rdv,
    Marqueur
};
const QPixmap& listingIcon(ListingIcon icon);

// The green and red lights of the editor: a document present or absent.
const QPixmap& Img_VoyantVert();
const QPixmap& Img_VoyantRouge();

} // namespace pictures
