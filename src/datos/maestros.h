#pragma once
// The master data the voucher entry checks its codes against and reads a formula's
// activities from: on the company server (the on-line entry, the server's lookups) or in the
// copies of the off-line store (the off-line entry). Each lookup gives its plain result, and
// shows nothing: a statement that fails counts as one that found nothing, except the
// readings of activities and especificaciones, which say that they failed, and why.
//
// Texts are program texts (Windows-1252) as stored. The statements are each store's own.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datos/sentencias.h"
#include "datos/vale.h"
#include "runtime/offline/todbc.h"

namespace datos {

// An activity of a formula, as the entry lists it.
struct Actividad {
    std::string codigo;
    double cantidad_unitaria = 0;  // activity quantity per unit produced
    std::string nombre;
};

// An especificación an activity may be done to.
struct Especificacion {
    std::string codigo;  // 3 characters
    std::string nombre;
};

class Maestros {
  public:
    virtual ~Maestros() = default;

    // The warehouse: nothing when it does not exist; otherwise whether it is active (every
    // warehouse of the off-line copy counts as active: the copy has no such flag).
    virtual std::optional<bool> bodega(double numero) = 0;
    virtual bool producto(std::string_view codigo) = 0;
    virtual bool formula(std::string_view producto, std::string_view formula) = 0;
    virtual bool operario(double numero) = 0;
    // Nothing when the operator does not exist; otherwise whether it is active.
    virtual std::optional<bool> operario_activo(double numero) = 0;

    // Names; nothing when not found.
    virtual std::optional<std::string> nombre_producto(std::string_view codigo) = 0;
    virtual std::optional<std::string> nombre_formula(std::string_view producto,
                                                      std::string_view formula) = 0;
    virtual std::optional<std::string> nombre_operario(double numero) = 0;

    // The activities of the voucher's product and formula, in the store's order; nothing
    // when they could not be read (`fallo` then says why, with the statement).
    virtual std::optional<std::vector<Actividad>> actividades(const DatosCab& cab,
                                                              Fallo& fallo) = 0;
    // The especificaciones of an activity, by name.
    virtual std::optional<std::vector<Especificacion>> especificaciones(std::string_view actividad,
                                                                        Fallo& fallo) = 0;
};

// On the company server; a connection that is missing fails every statement.
class MaestrosServidor final : public Maestros {
  public:
    explicit MaestrosServidor(TMySQLServer* servidor) : servidor_(servidor) {}

    std::optional<bool> bodega(double numero) override;
    bool producto(std::string_view codigo) override;
    bool formula(std::string_view producto, std::string_view formula) override;
    bool operario(double numero) override;
    std::optional<bool> operario_activo(double numero) override;
    std::optional<std::string> nombre_producto(std::string_view codigo) override;
    std::optional<std::string> nombre_formula(std::string_view producto,
                                              std::string_view formula) override;
    std::optional<std::string> nombre_operario(double numero) override;
    std::optional<std::vector<Actividad>> actividades(const DatosCab& cab, Fallo& fallo) override;
    std::optional<std::vector<Especificacion>> especificaciones(std::string_view actividad,
                                                                Fallo& fallo) override;

    // The unit of measure of a component (kind "I") or of a product and formula.
    std::optional<std::string> unidad_medida(std::string_view tipo, std::string_view codigo,
                                             std::string_view formula);

  private:
    std::optional<TMySQLQuery> leer(const std::string& sql, Fallo* fallo = nullptr);
    std::optional<std::string> primer_valor(const std::string& sql);
    std::string texto(std::string_view valor) const;

    TMySQLServer* servidor_;
};

// On the copies of the off-line store `RS`, whose result each lookup replaces (the product's
// name is read on a second connection to the same store, so the caller's result stays).
class MaestrosLocales final : public Maestros {
  public:
    explicit MaestrosLocales(rt::TODBC& RS) : RS_(RS) {}

    std::optional<bool> bodega(double numero) override;
    bool producto(std::string_view codigo) override;
    bool formula(std::string_view producto, std::string_view formula) override;
    bool operario(double numero) override;
    std::optional<bool> operario_activo(double numero) override;
    std::optional<std::string> nombre_producto(std::string_view codigo) override;
    std::optional<std::string> nombre_formula(std::string_view producto,
                                              std::string_view formula) override;
    std::optional<std::string> nombre_operario(double numero) override;
    std::optional<std::vector<Actividad>> actividades(const DatosCab& cab, Fallo& fallo) override;
    std::optional<std::vector<Especificacion>> especificaciones(std::string_view actividad,
                                                                Fallo& fallo) override;

  private:
    rt::TODBC& RS_;
};

}  // namespace datos
