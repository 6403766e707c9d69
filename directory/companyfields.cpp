#include "directory/companyfields.h"

#include "store/cp1252.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace
{

struct FieldInfo {
    const char* name;
    const char* label; // empty: second line of the field above
    int typing;        // what the user may type
};

const FieldInfo kFields[CompanyFields::Count] = {
    {"Annu_nom", "Nom", 50},       {"Annu_addra", "Adresse", 100},
    {"Annu_addrb", "", 100},       {"Annu_bp", "Boite postale", 6},
    {"Annu_cp", "Code postal", 6}, {"Annu_ville", "Ville", 40},
    {"Annu_pays", "Pays", 20},     {"Annu_tela", "Téléphones", 20},
    {"Annu_telb", "", 20},         {"Annu_faxa", "Fax", 20},
    {"Annu_faxb", "", 20},         {"Annu_service", "Service", 30},
    {"Annu_email", "Email", 50},   {"Annu_url", "Site Internet", 70},
};

template <int N> void put(ShortString<N>& s, const QString& t)
{
    s = t.left(N);
}

} // namespace

CompanyFields::CompanyFields(QWidget* parent, QGridLayout* grid, int& row, QWidget* besideEmail,
                             QWidget* besideUrl)
    : QObject(parent)
{
    for (int i = 0; i < Count; ++i) {
        const FieldInfo& info = kFields[i];
        auto* e = new QLineEdit(parent);
        e->setObjectName(QString::fromLatin1(info.name));
        e->setMaxLength(info.typing);
        fields_[i] = e;
        // Screen readers, and tests, find a field by its label; the second
        // line of a field is named after the first.
        if (*info.label) {
            auto* label = new QLabel(QString::fromUtf8(info.label), parent);
            label->setBuddy(e);
            grid->addWidget(label, row, 0);
            e->setAccessibleName(label->text());
        } else {
            e->setAccessibleName(
                fields_[i - 1]->accessibleName().section(QLatin1String(" ("), 0, 0) +
                QStringLiteral(" (suite)"));
        }
        grid->addWidget(e, row, 1);
        if (i == Email && besideEmail) grid->addWidget(besideEmail, row, 2);
        if (i == Url && besideUrl) grid->addWidget(besideUrl, row, 2);
        ++row;
    }
    // The name is written in capitals as it is typed.
    QLineEdit* nom = fields_[Nom];
    connect(nom, &QLineEdit::textEdited, nom, [nom](const QString& t) {
        const QString upper = t.toUpper();
        if (upper == t) return;
        const int pos = nom->cursorPosition();
        nom->setText(upper.left(nom->maxLength()));
        nom->setCursorPosition(pos);
    });
}

QString CompanyFields::text(Field f) const
{
    return fields_[f]->text();
}

void CompanyFields::clear()
{
    for (int i = 0; i < Count; ++i) {
        fields_[i]->setMaxLength(kFields[i].typing);
        fields_[i]->clear();
    }
}

void CompanyFields::load(const TSocieteRec& r)
{
    const QString values[Count] = {r.nom,   r.adresse_a, r.adresse_b, r.bp,   r.cp,
                                   r.ville, r.pays,      r.tela,      r.telb, r.faxa,
                                   r.faxb,  r.service,   r.email,     r.url};
    for (int i = 0; i < Count; ++i) {
        // A longer value already stored (an imported department) shows whole.
        fields_[i]->setMaxLength(std::max<int>(kFields[i].typing, int(values[i].size())));
        fields_[i]->setText(values[i]);
    }
}

void CompanyFields::saveInto(TSocieteRec& r) const
{
    put(r.nom, text(Nom));
    put(r.adresse_a, text(Adresse_a));
    put(r.adresse_b, text(Adresse_b));
    put(r.bp, text(Bp));
    put(r.cp, text(Cp));
    put(r.ville, text(Ville));
    put(r.pays, text(Pays));
    put(r.tela, text(Tela));
    put(r.telb, text(Telb));
    put(r.faxa, text(Faxa));
    put(r.faxb, text(Faxb));
    put(r.service, text(Service));
    put(r.email, text(Email));
    put(r.url, text(Url));
}

QString CompanyFields::unstorableText() const
{
    for (QLineEdit* f : fields_) {
        const QString problem = cp1252::unstorableText({{f->accessibleName(), f->text()}});
        if (!problem.isEmpty()) return problem;
    }
    return QString();
}
