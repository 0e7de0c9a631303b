-- Tables of one company database (velmo, tarsin, test ...). Loaded into the database
-- selected on the command line, followed by what the program adds to them:
--   mariadb --default-character-set=latin1 velmo < sql/schema.sql
--   mariadb --default-character-set=latin1 velmo < sql/objetos_adicionales.sql
-- Texts are Windows-1252 (the server calls it latin1). Fixed-width codes are CHAR of their
-- width; logicals are TINYINT(1), which the program reads as true/false; quantities are
-- DECIMAL, those of stock and vouchers with 7 decimals: a consumption (5 decimals) times a
-- quantity produced (2 decimals) is stored exactly. Every table is InnoDB: the voucher counter in particular must take part in
-- transactions, or two workstations could draw the same number.

-- Users of the program and their permissions: one logical column per permission code.
create table usuarios (
  usuario varchar(15) not null primary key,
  nombre varchar(40) not null default '',
  clave char(41) not null default '',            -- password() of the user's password
  l_activo tinyint(1) not null default 1,
  acc_sistema_vales_off_line tinyint(1) not null default 0,
  l_full_accesos tinyint(1) not null default 0,
  acc_ingreso tinyint(1) not null default 0,
  acc_ver_productos tinyint(1) not null default 0,
  acc_add_productos tinyint(1) not null default 0,
  acc_ver_costos tinyint(1) not null default 0,
  acc_add_tablas_codificacion tinyint(1) not null default 0
) engine=InnoDB default charset=latin1;

-- Permission codes: the code is also the name of its column in usuarios.
create table nombre_accesos (
  cod_acceso varchar(40) not null primary key,
  desc_acceso varchar(60) not null default '',
  l_activo tinyint(1) not null default 1
) engine=InnoDB default charset=latin1;

-- Access log written at login. acceso is text "dd/mm/yy  hh:mm", not a date.
create table accesos (
  id int not null auto_increment primary key,
  usuario varchar(15) not null default '',
  acceso char(15) not null default '',
  accion varchar(60) not null default ''
) engine=InnoDB default charset=latin1;

-- Finished products: one row per product and formula.
create table prodvtas (
  codi_prod char(9) not null,
  codi_form char(3) not null default '',
  desc_prod varchar(60) not null default '',
  desc_form varchar(60) not null default '',
  unid_med char(3) not null default '',
  l_activo tinyint(1) not null default 1,
  l_vigente tinyint(1) not null default 1,
  l_ctrl_stk tinyint(1) not null default 0,
  codi_form_rel char(3) not null default '---',  -- formula whose stock this one shares
  moneda smallint not null default 1,
  cuenta int not null default 0,
  peso decimal(12,2) not null default 0,
  stock_min decimal(10,2) not null default 0,
  stock_max decimal(10,2) not null default 0,
  cantidad decimal(12,2) not null default 0,
  observ text,
  cost01 decimal(14,4) not null default 0,
  cost02 decimal(14,4) not null default 0,
  cost03 decimal(14,4) not null default 0,
  cost04 decimal(14,4) not null default 0,
  cost05 decimal(14,4) not null default 0,
  cost06 decimal(14,4) not null default 0,
  cost07 decimal(14,4) not null default 0,
  cost08 decimal(14,4) not null default 0,
  cost09 decimal(14,4) not null default 0,
  cost10 decimal(14,4) not null default 0,
  cost11 decimal(14,4) not null default 0,
  cost12 decimal(14,4) not null default 0,
  costo_cst decimal(14,4) not null default 0,
  primary key (codi_prod, codi_form),
  key desc_prod (desc_prod)
) engine=InnoDB default charset=latin1;

-- Components; codes beginning with "9" are production activities.
create table prodcmp (
  codi_prod char(9) not null primary key,
  desc_prod varchar(60) not null default '',
  unid_med char(3) not null default '',
  l_ctrl_stk tinyint(1) not null default 0,
  prec_comp varchar(15) not null default '0',    -- the price, kept as text
  moneda smallint not null default 1
) engine=InnoDB default charset=latin1;

-- Formula lines: prd_sale is the product code followed by its formula code.
create table formulas (
  id int not null auto_increment primary key,
  prd_sale char(12) not null,
  prd_buy char(9) not null,
  tipo_prd char(1) not null default 'I',         -- I component, P sub-product
  codi_form char(3) not null default '',         -- formula of a sub-product
  consumo decimal(14,5) not null default 0,
  key prd_sale (prd_sale),
  key prd_buy (prd_buy)
) engine=InnoDB default charset=latin1;

-- Quality codes (especificaciones) of an activity (codi_unid = code + 3 blanks) and their
-- points per operator group (codi_unid = code + group).
create table unidmed (
  codi_prod char(9) not null,
  codi_unid char(6) not null,
  desc_unid varchar(40) not null default '',
  prec_unid decimal(12,4) not null default 0,
  primary key (codi_prod, codi_unid)
) engine=InnoDB default charset=latin1;

create table operario (
  codi_oper int not null primary key,
  nom_oper varchar(40) not null default '',
  codi_grupo char(3) not null default '',
  ope_activo tinyint(1) not null default 1,
  rut char(8) not null default '',
  digito_verif char(1) not null default '',
  key nom_oper (nom_oper)
) engine=InnoDB default charset=latin1;

create table bodegas (
  numero_bod int not null primary key,
  nombre_bod varchar(30) not null default '',
  l_activo tinyint(1) not null default 1,
  l_vales tinyint(1) not null default 0,
  l_pedidos tinyint(1) not null default 0
) engine=InnoDB default charset=latin1;

-- Stock per warehouse, kind (P product, I component), code and formula (blank for I).
create table stock_bodegas (
  numero_bod int not null,
  tipo_prd char(1) not null,
  codi_prod char(9) not null,
  codi_form char(3) not null default '',
  stock decimal(18,7) not null default 0,
  primary key (numero_bod, tipo_prd, codi_prod, codi_form)
) engine=InnoDB default charset=latin1;

-- Stock movements: tipo_doc 7 production entry, 8 consumption by production.
create table mov_stock (
  id int not null auto_increment primary key,
  tipo_doc char(1) not null default '',
  nume_doc int not null default 0,
  fecha_doc date,
  rut_doc char(8) not null default '',
  bodega_rel char(3) not null default '',
  tipo_prd char(1) not null default '',
  codi_prod char(9) not null default '',
  codi_form char(3) not null default '',
  cantidad decimal(18,7) not null default 0,
  numero_bod int not null default 0,
  l_anular tinyint(1) not null default 0,
  usuario varchar(15) not null default '',
  key producto (tipo_prd, codi_prod, codi_form, numero_bod),
  key documento (tipo_doc, nume_doc)
) engine=InnoDB default charset=latin1;

-- Vouchers: one row per activity and per consumed ingredient, sharing nume_folio.
create table vales (
  id int not null auto_increment primary key,
  nume_folio int not null,
  fecha_prod date,
  codi_prod char(9) not null default '',
  codi_form char(3) not null default '',
  cantidad decimal(18,7) not null default 0,
  malas decimal(18,7) not null default 0,
  numero_bod int not null default 0,
  codi_insu char(9) not null default '',
  form_insu char(3) not null default '',
  tipo_insu char(1) not null default '',
  consumo decimal(14,5) not null default 0,
  codi_oper int not null default 0,
  codi_tipo char(3) not null default '',
  puntaje_un decimal(12,4) not null default 0,
  c_estado char(1) not null default '1',
  key nume_folio (nume_folio)
) engine=InnoDB default charset=latin1;

-- Single row: the last voucher number used and the date of the last cost calculation.
create table paramet (
  id int not null default 1 primary key,
  num_vales int not null default 0,
  fech_cst date
) engine=InnoDB default charset=latin1;

-- Warehouse transfers: header (c_estado "1" while pending) and items.
create table trfbodc (
  n_transfer int not null primary key,
  fecha date,
  bodega_ori int not null default 0,
  bodega_des int not null default 0,
  c_estado char(1) not null default '1'
) engine=InnoDB default charset=latin1;

create table trfbodi (
  id int not null auto_increment primary key,
  n_transfer int not null,
  tipo_prd char(1) not null default '',
  codi_prod char(9) not null default '',
  codi_form char(3) not null default '',
  cantidad decimal(18,7) not null default 0,
  key n_transfer (n_transfer),
  key producto (tipo_prd, codi_prod)
) engine=InnoDB default charset=latin1;

create table procesos (
  codi_proceso char(1) not null primary key,
  nombre_proceso varchar(40) not null default '',
  observaciones text
) engine=InnoDB default charset=latin1;

-- Families of product codes; the row with subfamily "00" holds the family's settings.
create table familias (
  codi_familia char(1) not null,
  codi_subfamilia char(2) not null,
  desc_familia varchar(40) not null default '',
  tipo_estado char(1) not null default '',
  tipo_formato char(1) not null default '',
  codi_espejo char(1) not null default '',
  codi_espejo_insumos char(1) not null default '',
  primary key (codi_familia, codi_subfamilia)
) engine=InnoDB default charset=latin1;

create table familias_insumos (
  codi_familia char(1) not null,
  codi_subfamilia char(1) not null,
  codi_subsub_familia char(1) not null,
  desc_familia varchar(40) not null default '',
  tipo_formato char(1) not null default '',
  primary key (codi_familia, codi_subfamilia, codi_subsub_familia)
) engine=InnoDB default charset=latin1;
