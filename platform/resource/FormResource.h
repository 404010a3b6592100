#pragma once
#include "resource/HandlerTable.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

namespace plat {

class TForm;

/// Reads a file of the resource description (a catalogue, say) by its name.
using ResourceFileReader = std::function<std::string(const std::string& name)>;

/// Builds a form from its resource description, as the host's form streamer does:
///  - "form": properties and events of the form itself;
///  - "inherited": properties and events of components the base form already created;
///  - "components": components the form adds, in order, each with "class" and "name".
/// Components are created first and their properties applied afterwards, so a property may
/// name any component of the description (a parent, a data source, a dataset). Events name
/// handlers of the table. An unknown class, property, component or handler is an error.
void LoadFormResource(TForm& form, const nlohmann::json& resource, const THandlerTable& handlers,
                      const ResourceFileReader& readFile);

} // namespace plat
