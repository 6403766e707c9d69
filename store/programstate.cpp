#include "store/programstate.h"

#include "store/tables.h"

ProgramState::ProgramState(const QString& programDir, QObject* parent)
    : ProgramState(std::make_unique<Store>(programDir), parent)
{
}

ProgramState::ProgramState(std::unique_ptr<Store> store, QObject* parent)
    : QObject(parent), store_(std::move(store))
{
}

ProgramState::~ProgramState() = default;

void ProgramState::setSort(const QString& tri, const QString& sens)
{
    if (tri == Tri && sens == Sens) return;
    Tri = tri;
    Sens = sens;
    emit sortChanged();
}

void ProgramState::setMasquerTerminees(bool on)
{
    if (on == MasquerTerminees) return;
    MasquerTerminees = on;
    emit filtersChanged();
}

void ProgramState::setAlarmesSeules(bool on)
{
    if (on == AlarmesSeules && (!on || !RelancesSeules)) return;
    AlarmesSeules = on;
    if (on) RelancesSeules = false;
    emit filtersChanged();
}

void ProgramState::setRelancesSeules(bool on)
{
    if (on == RelancesSeules && (!on || !AlarmesSeules)) return;
    RelancesSeules = on;
    if (on) AlarmesSeules = false;
    emit filtersChanged();
}

int ProgramState::chosenCandidature() const
{
    return findChosen(std::as_const(*store_).Candidatures, IdCandidature, PositionCandidature);
}
