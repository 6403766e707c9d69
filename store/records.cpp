#include "store/records.h"

#include <cstring>

void normalise(TSocieteRec& r)
{
    for (auto* s : {&r.nom, &r.service, &r.email})
        s->normalise();
    r.version.normalise();
    r.adresse_a.normalise();
    r.adresse_b.normalise();
    r.bp.normalise();
    r.cp.normalise();
    r.ville.normalise();
    for (auto* s : {&r.pays, &r.tela, &r.telb, &r.faxa, &r.faxb})
        s->normalise();
    r.url.normalise();
    r.categorie.normalise();
    std::memset(r.pad1, 0, sizeof r.pad1);
    std::memset(r.pad2, 0, sizeof r.pad2);
}

void normalise(TContactRec& r)
{
    r.version.normalise();
    for (auto* s : {&r.nom, &r.fonction, &r.email})
        s->normalise();
    for (auto* s : {&r.tel, &r.fax, &r.gsm})
        s->normalise();
    r.civilite.normalise();
}

void normalise(TCandidatureRec& r)
{
    r.version.normalise();
    for (auto* s : {&r.intitule, &r.cv, &r.lettre, &r.accuse, &r.suite, &r.offre})
        s->normalise();
    r.source.normalise();
    for (auto* d :
         {&r.date, &r.date_cv, &r.date_lettre, &r.date_suite, &r.date_accuse, &r.date_rdv})
        d->normalise();
    r.alerte.normalise();
    r.type.normalise();
    r.methode.normalise();
    r.terminee = r.terminee ? 1 : 0;
    r.marqueur = r.marqueur ? 1 : 0;
    std::memset(r.pad1, 0, sizeof r.pad1);
    std::memset(r.pad2, 0, sizeof r.pad2);
}

void normalise(TFavoriRec& r)
{
    r.nom.normalise();
    r.url.normalise();
}

TCandidatureRec newCandidature()
{
    TCandidatureRec r{};
    r.type.setBytes("R", 1);
    r.methode.setBytes("I", 1);
    prepareForWrite(r);
    return r;
}
