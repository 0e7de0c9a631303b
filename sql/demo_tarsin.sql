-- Company "225" (database tarsin, "Tarsin refractarios S.A."): demo data. Loaded after
-- sql/schema.sql and sql/demo_comun.sql; Windows-1252 text. Passwords are stored through
-- password(), as the login compares them.
--
-- Users (password in brackets): admin [tarsin2026] full access; operador [vales123] may
-- enter vouchers.

insert into usuarios (usuario, nombre, clave, l_activo, acc_sistema_vales_off_line,
                      l_full_accesos, acc_ingreso, acc_ver_productos, acc_add_productos,
                      acc_ver_costos, acc_add_tablas_codificacion) values
('admin', 'Administrador', password('tarsin2026'), 1, 1, 1, 0, 0, 0, 0, 0),
('operador', 'Operador de turno', password('vales123'), 1, 1, 0, 1, 1, 0, 0, 0);

insert into nombre_accesos (cod_acceso, desc_acceso, l_activo) values
('acc_ingreso', 'Ingreso de vales en línea', 1),
('acc_ver_productos', 'Ver catálogo de productos', 1),
('acc_add_productos', 'Agregar y modificar productos', 1),
('acc_ver_costos', 'Ver costos de productos', 1),
('acc_add_tablas_codificacion', 'Tablas de codificación', 1);

insert into bodegas (numero_bod, nombre_bod, l_activo, l_vales, l_pedidos) values
(1, 'Bodega Principal', 1, 1, 1),
(2, 'Bodega de Tránsito', 1, 0, 0),
(3, 'Bodega Cerrada', 0, 0, 0);

insert into stock_bodegas (numero_bod, tipo_prd, codi_prod, codi_form, stock) values
(1, 'P', 'L01AA0110', '001', 80),
(1, 'P', 'M02BB0220', '001', 40),
(1, 'I', '100000001', '', 3000),
(1, 'I', '100000002', '', 900);

insert into paramet (id, num_vales, fech_cst) values (1, 512, '2026-10-31');
