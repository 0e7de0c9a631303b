-- Company "999" (database test, "Empresa de pruebas..."): the data the automated tests
-- rely on. Loaded after sql/schema.sql and sql/demo_comun.sql; Windows-1252 text.
-- Passwords are stored through password(), as the login compares them.
--
-- Users (password in brackets):
--   juan [clave123]        active, may use the program, acc_ingreso and acc_ver_productos
--   supervisor [super1234] active, l_full_accesos, every own permission column false
--   inactivo [clave123]    not active
--   sinvales [clave123]    active, not allowed into the program
--   nuñez [ñandú12]        active, acc_ingreso; a name and password beyond ASCII
--   o'brien [it's4you]     active, acc_ingreso; quotes in name and password
-- Permission codes: acc_add_tablas_codificacion is disabled for everybody;
-- acc_borrar_vales is registered and enabled but has no column in usuarios.
-- Warehouses: 1 (orders + vouchers), 2 (vouchers), 3 (orders), 4 inactive, 5 (neither),
-- 6 with an apostrophe in its name.

insert into usuarios (usuario, nombre, clave, l_activo, acc_sistema_vales_off_line,
                      l_full_accesos, acc_ingreso, acc_ver_productos, acc_add_productos,
                      acc_ver_costos, acc_add_tablas_codificacion) values
('juan', 'Juan Pérez', password('clave123'), 1, 1, 0, 1, 1, 0, 0, 0),
('supervisor', 'Supervisor de planta', password('super1234'), 1, 1, 1, 0, 0, 0, 0, 0),
('inactivo', 'Usuario dado de baja', password('clave123'), 0, 1, 0, 1, 1, 1, 1, 1),
('sinvales', 'Usuario de otro sistema', password('clave123'), 1, 0, 0, 1, 0, 0, 0, 0),
('nuñez', 'Matías Núñez', password('ñandú12'), 1, 1, 0, 1, 0, 0, 0, 0),
('o''brien', 'Patrick O''Brien', password('it''s4you'), 1, 1, 0, 1, 0, 0, 0, 0);

insert into nombre_accesos (cod_acceso, desc_acceso, l_activo) values
('acc_ingreso', 'Ingreso de vales en línea', 1),
('acc_ver_productos', 'Ver catálogo de productos', 1),
('acc_add_productos', 'Agregar y modificar productos', 1),
('acc_ver_costos', 'Ver costos de productos', 1),
('acc_add_tablas_codificacion', 'Tablas de codificación', 0),
('acc_borrar_vales', 'Anular vales (sin columna en usuarios)', 1);

insert into bodegas (numero_bod, nombre_bod, l_activo, l_vales, l_pedidos) values
(1, 'Bodega Central', 1, 1, 1),
(2, 'Producción', 1, 1, 0),
(3, 'Despacho Ñuñoa', 1, 0, 1),
(4, 'Bodega Antigua', 0, 1, 0),
(5, 'Tránsito', 1, 0, 0),
(6, 'Patio O''Higgins', 1, 0, 0);

insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) values
(1, 'P', 'L01AA0110', '001', 150),
(2, 'P', 'L01AA0110', '001', -20),
(3, 'P', 'L01AA0110', '001', 35.5),
(1, 'P', 'L01AA0110', '002', 40),
(1, 'P', 'M02BB0220', '001', 75),
(1, 'I', '100000001', '', 5000),
(2, 'I', '100000001', '', 800),
(1, 'I', '100000002', '', 1200),
(1, 'I', '100000003', '', 300),
(1, 'I', '100000005', '', 12);

-- Transfers: 1 pending (L01AA0110 002 and component 100000003), 2 finished
-- (M02BB0220 001), 3 pending (L01AA0110 001).
insert into trfbodc (n_transfer, fecha, bodega_ori, bodega_des, c_estado) values
(1, '2026-12-01', 1, 3, '1'),
(2, '2026-11-20', 1, 2, '2'),
(3, '2026-12-03', 2, 1, '1');
insert into trfbodi (n_transfer, tipo_prd, codi_prod, codi_form, cantidad) values
(1, 'P', 'L01AA0110', '002', 10),
(1, 'I', '100000003', '', 50),
(2, 'P', 'M02BB0220', '001', 5),
(3, 'P', 'L01AA0110', '001', 20);

insert into paramet (id, num_vales, fech_cst) values (1, 1000, '2026-11-30');

-- Voucher 1000: 100 bricks L01AA0110 001 in warehouse 2 on 02/12/2026.
insert into vales (nume_folio, fecha_prod, codi_prod, codi_form, cantidad, malas, numero_bod,
                   codi_insu, form_insu, tipo_insu, consumo, codi_oper, codi_tipo, puntaje_un,
                   c_estado) values
(1000, '2026-12-02', 'L01AA0110', '001', 100, 3, 2, '900000001', '', 'I', 1, 1, 'A01', 1.5, '1'),
(1000, '2026-12-02', 'L01AA0110', '001', 100, 3, 2, '900000003', '', 'I', 1, 4, 'C01', 0.5, '1'),
(1000, '2026-12-02', 'L01AA0110', '001', 100, 3, 2, '900000004', '', 'I', 0.02, 3, 'D01', 0.1, '1'),
(1000, '2026-12-02', 'L01AA0110', '001', 100, 3, 2, '100000001', '', 'I', 2.5, 0, '', 0, '1'),
(1000, '2026-12-02', 'L01AA0110', '001', 100, 3, 2, '100000002', '', 'I', 1.2, 0, '', 0, '1'),
(1000, '2026-12-02', 'L01AA0110', '001', 100, 3, 2, '100000004', '', 'I', 0.3, 0, '', 0, '1');
