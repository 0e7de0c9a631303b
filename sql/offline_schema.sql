-- The off-line store (datos/vales.mdb): copies of the server's master data, refreshed by the
-- download, and the vouchers recorded without a server until they are sent.
--
-- Created once, on a machine that has no store yet; the program never alters these tables
-- (a store made before the workstation identity, or before the identities of vouchers,
-- existed gets that table, or that column, added).
-- The driver runs this text as one batch and reads an apostrophe as the start of a text even
-- inside a comment: comments keep their apostrophes in pairs.
--
-- Column kinds and how they read through the ODBC driver as text:
--   text      VARCHAR(n)  the bytes as written (Windows-1252), trailing blanks kept;
--                         fixed-width codes refuse a value longer than their width
--   Yes/No    BIT         "1" / "0"; written as the words true / false
--   number    INTEGER or NUMERIC: "12", "12.5" (a whole value reads without decimals)
--   counter   INTEGER PRIMARY KEY AUTOINCREMENT: never reused after a delete
--   date      TIMESTAMP   written as 'dd/mm/yyyy' (or 'yyyy-mm-dd hh:mm:ss'), stored and read
--                         as 'yyyy-mm-dd hh:mm:ss'; an impossible date is refused

CREATE TABLE prodvtas (
    codi_prod VARCHAR(9) NOT NULL CHECK (length(CAST(codi_prod AS BLOB)) <= 9),
    codi_form VARCHAR(3) NOT NULL CHECK (length(CAST(codi_form AS BLOB)) <= 3),
    desc_prod VARCHAR(255),
    desc_form VARCHAR(255),
    l_vigente BIT NOT NULL DEFAULT 0 CHECK (l_vigente IN (0, 1)),
    l_activo BIT NOT NULL DEFAULT 0 CHECK (l_activo IN (0, 1))
);
CREATE INDEX prodvtas_codigo ON prodvtas (codi_prod, codi_form);

CREATE TABLE formulas (
    prd_sale VARCHAR(12) NOT NULL CHECK (length(CAST(prd_sale AS BLOB)) <= 12),
    prd_buy VARCHAR(9) NOT NULL CHECK (length(CAST(prd_buy AS BLOB)) <= 9),
    tipo_prd VARCHAR(1) CHECK (length(CAST(tipo_prd AS BLOB)) <= 1),
    consumo NUMERIC,
    codi_form VARCHAR(3) CHECK (length(CAST(codi_form AS BLOB)) <= 3)
);
CREATE INDEX formulas_producto ON formulas (prd_sale);

CREATE TABLE prodcmp (
    codi_prod VARCHAR(9) NOT NULL CHECK (length(CAST(codi_prod AS BLOB)) <= 9),
    desc_prod VARCHAR(255),
    unid_med VARCHAR(3) CHECK (length(CAST(unid_med AS BLOB)) <= 3)
);
CREATE INDEX prodcmp_codigo ON prodcmp (codi_prod);

CREATE TABLE unidmed (
    codi_prod VARCHAR(9) NOT NULL CHECK (length(CAST(codi_prod AS BLOB)) <= 9),
    codi_unid VARCHAR(6) NOT NULL CHECK (length(CAST(codi_unid AS BLOB)) <= 6),
    desc_unid VARCHAR(255)
);
CREATE INDEX unidmed_actividad ON unidmed (codi_prod);

CREATE TABLE operario (
    codi_oper INTEGER NOT NULL,
    nom_oper VARCHAR(255),
    codi_grupo VARCHAR(3) CHECK (length(CAST(codi_grupo AS BLOB)) <= 3),
    ope_activo BIT NOT NULL DEFAULT 0 CHECK (ope_activo IN (0, 1)),
    rut VARCHAR(8) CHECK (length(CAST(rut AS BLOB)) <= 8),
    digito_verif VARCHAR(1) CHECK (length(CAST(digito_verif AS BLOB)) <= 1)
);
CREATE INDEX operario_numero ON operario (codi_oper);

CREATE TABLE bodegas (
    numero_bod INTEGER NOT NULL,
    nombre_bod VARCHAR(255)
);
CREATE INDEX bodegas_numero ON bodegas (numero_bod);

CREATE TABLE vales_cab (
    n_interno INTEGER PRIMARY KEY AUTOINCREMENT,
    codi_prod VARCHAR(9) NOT NULL CHECK (length(CAST(codi_prod AS BLOB)) <= 9),
    codi_form VARCHAR(3) NOT NULL CHECK (length(CAST(codi_form AS BLOB)) <= 3),
    num_bodega INTEGER,
    fecha TIMESTAMP NOT NULL,
    cantidad NUMERIC,
    malas NUMERIC,
    c_estado VARCHAR(1) NOT NULL DEFAULT '1' CHECK (c_estado IN ('1', '2')),
    id_vale VARCHAR(32) CHECK (id_vale IS NULL OR length(id_vale) = 32)
);

-- id_vale is the identity of the voucher itself: 32 random hexadecimal digits that the store
-- gives it when it is inserted (trigger below). The server records it with the voucher, so
-- that a voucher reaches it once whatever happens to an upload, and a copy of this store (a
-- backup restored, a file given to a second workstation) never has a voucher taken for
-- another. A store made before this column existed gets it, and the trigger, the first
-- time it is used for vouchers.

CREATE TRIGGER vales_cab_identidad AFTER INSERT ON vales_cab WHEN NEW.id_vale IS NULL
BEGIN
    UPDATE vales_cab SET id_vale = lower(hex(randomblob(16))) WHERE n_interno = NEW.n_interno;
END;

CREATE TABLE vales_itm (
    n_interno INTEGER NOT NULL,
    codi_actividad VARCHAR(9) NOT NULL CHECK (length(CAST(codi_actividad AS BLOB)) <= 9),
    codi_oper INTEGER,
    codi_especif VARCHAR(3) CHECK (length(CAST(codi_especif AS BLOB)) <= 3),
    hora_ini VARCHAR(5) CHECK (length(CAST(hora_ini AS BLOB)) <= 5),
    hora_fin VARCHAR(5) CHECK (length(CAST(hora_fin AS BLOB)) <= 5),
    consumo NUMERIC,
    cantidad NUMERIC
);
CREATE INDEX vales_itm_vale ON vales_itm (n_interno);

-- This workstation's identity, one row made with the store and never changed: 32 random
-- hexadecimal digits. The server records with every voucher sent from here this identity
-- and the voucher's local number (n_interno), so a voucher it already holds is never sent
-- again, whatever happened between the two stores.
CREATE TABLE estacion (
    unica INTEGER PRIMARY KEY CHECK (unica = 1),
    id_estacion VARCHAR(32) NOT NULL CHECK (length(id_estacion) = 32)
);
INSERT INTO estacion (unica, id_estacion) VALUES (1, lower(hex(randomblob(16))));

-- The company (its three-digit code) that was connected when master data was last
-- downloaded here: the vouchers typed against that data belong to that company, and they
-- are sent only to it. No row until the first download.
CREATE TABLE empresa (
    unica INTEGER PRIMARY KEY CHECK (unica = 1),
    cod_empresa VARCHAR(3) NOT NULL
);

-- The production date. The voucher insert writes it as day/month/year text; the store keeps
-- one form, 'yyyy-mm-dd hh:mm:ss', so that it sorts and reads back the same everywhere.
-- Accepted: the day/month/year text (dd/mm/yyyy) or the stored form, when it is a real date
-- of the calendar; anything else is refused before it is written.
CREATE TRIGGER vales_cab_fecha_insert BEFORE INSERT ON vales_cab
WHEN NOT coalesce((
    SELECT f IS NOT NULL AND datetime(julianday(f)) IS f FROM (SELECT CASE
        WHEN NEW.fecha GLOB '[0-9][0-9]/[0-9][0-9]/[0-9][0-9][0-9][0-9]'
        THEN substr(NEW.fecha, 7, 4) || '-' || substr(NEW.fecha, 4, 2) || '-' ||
             substr(NEW.fecha, 1, 2) || ' 00:00:00'
        WHEN NEW.fecha GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'
        THEN NEW.fecha
        END AS f)), 0)
BEGIN
    SELECT RAISE(ABORT, 'fecha no valida');
END;

CREATE TRIGGER vales_cab_fecha_update BEFORE UPDATE OF fecha ON vales_cab
WHEN NOT coalesce((
    SELECT f IS NOT NULL AND datetime(julianday(f)) IS f FROM (SELECT CASE
        WHEN NEW.fecha GLOB '[0-9][0-9]/[0-9][0-9]/[0-9][0-9][0-9][0-9]'
        THEN substr(NEW.fecha, 7, 4) || '-' || substr(NEW.fecha, 4, 2) || '-' ||
             substr(NEW.fecha, 1, 2) || ' 00:00:00'
        WHEN NEW.fecha GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'
        THEN NEW.fecha
        END AS f)), 0)
BEGIN
    SELECT RAISE(ABORT, 'fecha no valida');
END;

CREATE TRIGGER vales_cab_fecha_insert_forma AFTER INSERT ON vales_cab
WHEN NEW.fecha GLOB '[0-9][0-9]/[0-9][0-9]/[0-9][0-9][0-9][0-9]'
BEGIN
    UPDATE vales_cab
       SET fecha = substr(NEW.fecha, 7, 4) || '-' || substr(NEW.fecha, 4, 2) || '-' ||
                   substr(NEW.fecha, 1, 2) || ' 00:00:00'
     WHERE n_interno = NEW.n_interno;
END;

CREATE TRIGGER vales_cab_fecha_update_forma AFTER UPDATE OF fecha ON vales_cab
WHEN NEW.fecha GLOB '[0-9][0-9]/[0-9][0-9]/[0-9][0-9][0-9][0-9]'
BEGIN
    UPDATE vales_cab
       SET fecha = substr(NEW.fecha, 7, 4) || '-' || substr(NEW.fecha, 4, 2) || '-' ||
                   substr(NEW.fecha, 1, 2) || ' 00:00:00'
     WHERE n_interno = NEW.n_interno;
END;
