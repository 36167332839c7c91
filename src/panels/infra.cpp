#include "panels/infra.h"

void Infra::ResetInfo(const AttribList& attributes)
{
    workers = 0;
    factories.clear();
    system = GetAttribute(attributes, "system");
    name = GetAttribute(attributes, "name");
    owner = GetAttribute(attributes, "owner");
}

void Infra::MapInfo(const AttribList& attributes)
{
    // The economy is sent too, but not shown.
    workers = GetNumberAttribute(attributes, "workers", 0);
}

void Infra::UpdateWorkers(const AttribList& attributes)
{
    workers = GetNumberAttribute(attributes, "workers", 0);
}

void Infra::AddFactory(const AttribList& attributes)
{
    ++factories[GetAttribute(attributes, "output")];
}

void Infra::RemoveFactory(const AttribList& attributes)
{
    const auto it = factories.find(GetAttribute(attributes, "output"));
    if (it != factories.end() && --it->second < 1)
        factories.erase(it);
}

std::vector<std::string> Infra::InfrastructureLines() const
{
    std::vector<std::string> lines{
        system + " system", name + " map", "Owner: " + owner, "Workers: " + std::to_string(workers)};
    if (!factories.empty()) {
        lines.push_back("Factories:");
        for (const auto& [output, count] : factories)
            lines.push_back("  " + std::to_string(count) + " x " + output);
    }
    return lines;
}

void Infra::WriteHeader(std::string& out) const
{
    // Written as held: the reader never reads the header back.
    out += "<map name='" + name + "' system='" + system + "' owner='" + owner + "'>\n\n";
}
