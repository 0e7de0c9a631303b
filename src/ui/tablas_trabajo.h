#pragma once
// The work tables the operations create: their fields, aliases, index keys and the message
// shown when one cannot be opened.
#include <string>
#include <string_view>

#include "runtime/worktables/field.h"

namespace ui::tablas {

using rt::wt::Field;
using rt::wt::FieldType;
using rt::wt::Structure;

// Pending vouchers of the off-line store (entry list and upload).
inline constexpr std::string_view kValesAlias = "VALES";
inline constexpr std::string_view kValesKey = "Str(N_INTERNO,10)";
inline constexpr std::string_view kValesOpenError = "ERROR: No se puede abrir archivo de VALES";
Structure vales();

// Products (off-line help list; the product catalogue uses catalogue_alias()).
inline constexpr std::string_view kProductosAlias = "PRODUCTOS";
inline constexpr std::string_view kProductosKeyCode = "CODIGO+CODI_FORM";          // order 1
inline constexpr std::string_view kProductosKeyName = "Upper(DESCRIP)+CODI_FORM";  // order 2
inline constexpr std::string_view kProductosOpenError =
    "ERROR: No se puede abrir archivo de ayuda <PRODUCTOS>";
Structure productos();

// Operators (help lists, on-line and off-line).
inline constexpr std::string_view kOperarioAlias = "OPERARIO";
inline constexpr std::string_view kOperarioKey = "Upper(NOMBRE)";
inline constexpr std::string_view kOperarioOpenError =
    "ERROR: No se puede abrir archivo de OPERARIOS";
Structure operario();

// Processes (process catalogue).
inline constexpr std::string_view kProcesosAlias = "PROCESOS";
inline constexpr std::string_view kProcesosKey = "CODIGO";
inline constexpr std::string_view kProcesosOpenError =
    "ERROR: No se puede abrir archivo auxiliar <PROCESOS>";
Structure procesos();

// The product catalogue's alias: "X" and characters 1-6 of the last 10 characters of the
// table's path ("temp\03240025.dbf" gives "X240025"), so every catalogue table has its own.
std::string catalogue_alias(std::string_view table_path);

}  // namespace ui::tablas
