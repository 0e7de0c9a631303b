-- Company "007" (database velmo, "Refractarios Velmo Ltda."): demo data. Loaded after
-- sql/schema.sql and sql/demo_comun.sql; Windows-1252 text. Passwords are stored through
-- password(), as the login compares them.
--
-- Users (password in brackets): admin [velmo2026] full access; operador [vales123] may enter
-- vouchers; bodeguero [bodega12] may see products but not enter vouchers; jperez [vales123]
-- no longer active; contador [costos12] not allowed into this program.

insert into usuarios (usuario, nombre, clave, l_activo, acc_sistema_vales_off_line,
                      l_full_accesos, acc_ingreso, acc_ver_productos, acc_add_productos,
                      acc_ver_costos, acc_add_tablas_codificacion) values
('admin', 'Administrador del sistema', password('velmo2026'), 1, 1, 1, 0, 0, 0, 0, 0),
('operador', 'Operador de producción', password('vales123'), 1, 1, 0, 1, 1, 0, 0, 0),
('bodeguero', 'Encargado de bodega', password('bodega12'), 1, 1, 0, 0, 1, 0, 1, 0),
('jperez', 'José Pérez', password('vales123'), 0, 1, 0, 1, 1, 1, 1, 1),
('contador', 'Contabilidad', password('costos12'), 1, 0, 0, 0, 1, 0, 1, 0);

insert into nombre_accesos (cod_acceso, desc_acceso, l_activo) values
('acc_ingreso', 'Ingreso de vales en línea', 1),
('acc_ver_productos', 'Ver catálogo de productos', 1),
('acc_add_productos', 'Agregar y modificar productos', 1),
('acc_ver_costos', 'Ver costos de productos', 1),
('acc_add_tablas_codificacion', 'Tablas de codificación', 0);

insert into bodegas (numero_bod, nombre_bod, l_activo, l_vales, l_pedidos) values
(1, 'Bodega Central', 1, 1, 1),
(2, 'Planta Producción', 1, 1, 0),
(3, 'Despacho Ñuñoa', 1, 0, 1),
(4, 'Bodega Antigua', 0, 1, 0),
(7, 'Patio O''Higgins', 1, 0, 0);

insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) values
(1, 'P', 'L01AA0110', '001', 1520),
(2, 'P', 'L01AA0110', '001', 240),
(3, 'P', 'L01AA0110', '001', -12),
(1, 'P', 'L01AA0110', '002', 310),
(1, 'P', 'M02BB0220', '001', 900),
(2, 'P', 'P03CC0330', '001', 14),
(1, 'I', '100000001', '', 25000),
(2, 'I', '100000001', '', 4000),
(1, 'I', '100000002', '', 8000),
(1, 'I', '100000003', '', 1500),
(1, 'I', '100000005', '', 60);

insert into trfbodc (n_transfer, fecha, bodega_ori, bodega_des, c_estado) values
(1, '2026-11-28', 1, 3, '2'),
(2, '2026-12-04', 1, 3, '1');
insert into trfbodi (n_transfer, tipo_prd, codi_prod, codi_form, cantidad) values
(1, 'P', 'L01AA0110', '001', 100),
(2, 'P', 'L01AA0110', '002', 40);

insert into paramet (id, num_vales, fech_cst) values (1, 15230, '2026-11-30');

-- Voucher 15230: 500 bricks L01AA0110 001 in warehouse 2 on 04/12/2026, with its stock
-- movements.
insert into vales (nume_folio, fecha_prod, codi_prod, codi_form, cantidad, malas, numero_bod,
                   codi_insu, form_insu, tipo_insu, consumo, codi_oper, codi_tipo, puntaje_un,
                   c_estado) values
(15230, '2026-12-04', 'L01AA0110', '001', 300, 8, 2, '900000001', '', 'I', 1, 1, 'A01', 1.5, '1'),
(15230, '2026-12-04', 'L01AA0110', '001', 200, 8, 2, '900000001', '', 'I', 1, 3, 'A02', 2.5, '1'),
(15230, '2026-12-04', 'L01AA0110', '001', 500, 8, 2, '900000003', '', 'I', 1, 6, 'C01', 0.5, '1'),
(15230, '2026-12-04', 'L01AA0110', '001', 500, 8, 2, '900000004', '', 'I', 0.02, 2, 'D01', 0.1, '1'),
(15230, '2026-12-04', 'L01AA0110', '001', 500, 8, 2, '100000001', '', 'I', 2.5, 0, '', 0, '1'),
(15230, '2026-12-04', 'L01AA0110', '001', 500, 8, 2, '100000002', '', 'I', 1.2, 0, '', 0, '1'),
(15230, '2026-12-04', 'L01AA0110', '001', 500, 8, 2, '100000004', '', 'I', 0.3, 0, '', 0, '1');
insert into mov_stock (tipo_doc, nume_doc, fecha_doc, rut_doc, tipo_prd, codi_prod, codi_form,
                       cantidad, numero_bod, bodega_rel, l_anular, usuario) values
('7', 15230, '2026-12-04', '', 'P', 'L01AA0110', '001', 500, 2, '', 0, 'operador'),
('8', 15230, '2026-12-04', '', 'I', '100000001', '', -1250, 2, '', 0, 'operador'),
('8', 15230, '2026-12-04', '', 'I', '100000002', '', -600, 2, '', 0, 'operador');
