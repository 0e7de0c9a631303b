-- Catalogue shared by the demo companies: components and activities, products with their
-- formulas, quality codes (especificaciones) with points per operator group, operators,
-- processes and code families. Loaded after sql/schema.sql; this file is Windows-1252 (latin1) text.
--
-- Products and formulas:
--   L01AA0110 001  standard brick, formula in force, stock controlled
--   L01AA0110 002  high-alumina variant, stock controlled
--   L01AA0110 003  second line: shares the stock of formula 001 (codi_form_rel '001')
--   L01AA0110 004  old formula, no longer in force
--   M02BB0220 001  mortar, also a sub-product in the formula of P03CC0330 001
--   P03CC0330 001  special piece: activities, a component and the mortar sub-product
--   A05DD0510 001  insulating brick whose name is longer than 50 characters
--   X99ZZ9990 001  inactive product
-- Activities (codes beginning with "9"): 900000001 to 900000004.
-- Operator groups G01, G02, G03; operator 4 is inactive, operator 5 has a long name.

insert into prodcmp (codi_prod, desc_prod, unid_med, l_ctrl_stk, prec_comp, moneda) values
('900000001', 'Moldeo a mano', 'UN', 0, '0', 1),
('900000002', 'Prensado', 'UN', 0, '0', 1),
('900000003', 'Cocción en horno túnel', 'UN', 0, '0', 1),
('900000004', 'Empaque y paletizado', 'UN', 0, '0', 1),
('100000001', 'Arcilla refractaria', 'KG', 1, '125.50', 1),
('100000002', 'Chamota molida', 'KG', 1, '98.00', 1),
('100000003', 'Alúmina calcinada', 'KG', 1, '1.85', 2),
('100000004', 'Agua industrial', 'LT', 0, '0.40', 1),
('100000005', 'Pallet de madera 1x1,2 m', 'UN', 1, '3500', 1);

insert into prodvtas (codi_prod, codi_form, desc_prod, desc_form, unid_med, l_activo, l_vigente,
                      l_ctrl_stk, codi_form_rel, moneda, cuenta, peso, stock_min, stock_max,
                      cantidad, observ, costo_cst) values
('L01AA0110', '001', 'Ladrillo refractario ''Súper'' 230x114x65', 'Estándar', 'UN', 1, 1, 1, '---', 1, 101, 3.45, 500, 5000, 1, 'Ladrillo de uso general.\r\nCono 32.', 412.5),
('L01AA0110', '002', 'Ladrillo refractario ''Súper'' 230x114x65', 'Alta alúmina', 'UN', 1, 1, 1, '---', 1, 101, 3.60, 0, 0, 1, '', 0),
('L01AA0110', '003', 'Ladrillo refractario ''Súper'' 230x114x65', 'Estándar línea 2', 'UN', 1, 1, 1, '001', 1, 101, 3.45, 0, 0, 1, '', 0),
('L01AA0110', '004', 'Ladrillo refractario ''Súper'' 230x114x65', 'Fórmula antigua', 'UN', 1, 0, 1, '---', 1, 101, 3.45, 0, 0, 1, '', 0),
('M02BB0220', '001', 'Mortero refractario fraguado al aire', 'Saco 25 kg', 'KG', 1, 1, 1, '---', 1, 102, 1, 100, 2000, 25, '', 0),
('P03CC0330', '001', 'Pieza especial con mortero', 'Única', 'UN', 1, 1, 0, '---', 1, 103, 12.5, 0, 0, 1, '', 0),
('A05DD0510', '001', 'Ladrillo aislante de alta temperatura para bóvedas y hornos', 'Estándar', 'UN', 1, 1, 1, '---', 2, 104, 1.1, 0, 0, 1, '', 0),
('X99ZZ9990', '001', 'Producto descontinuado', 'Estándar', 'UN', 0, 0, 0, '---', 1, 0, 0, 0, 0, 1, '', 0);

insert into formulas (prd_sale, prd_buy, tipo_prd, codi_form, consumo) values
('L01AA0110001', '900000001', 'I', '', 1),
('L01AA0110001', '900000003', 'I', '', 1),
('L01AA0110001', '900000004', 'I', '', 0.02),
('L01AA0110001', '100000001', 'I', '', 2.5),
('L01AA0110001', '100000002', 'I', '', 1.2),
('L01AA0110001', '100000004', 'I', '', 0.3),
('L01AA0110002', '900000002', 'I', '', 1),
('L01AA0110002', '900000003', 'I', '', 1),
('L01AA0110002', '100000003', 'I', '', 1.8),
('L01AA0110002', '100000001', 'I', '', 1),
('L01AA0110003', '900000001', 'I', '', 1),
('L01AA0110003', '900000003', 'I', '', 1),
('L01AA0110003', '100000001', 'I', '', 2.5),
('L01AA0110003', '100000002', 'I', '', 1.2),
('L01AA0110004', '900000001', 'I', '', 1),
('L01AA0110004', '100000001', 'I', '', 3),
('M02BB0220001', '900000001', 'I', '', 1),
('M02BB0220001', '100000001', 'I', '', 0.6),
('M02BB0220001', '100000002', 'I', '', 0.4),
('P03CC0330001', '900000002', 'I', '', 1),
('P03CC0330001', '900000003', 'I', '', 1),
('P03CC0330001', '100000001', 'I', '', 1.5),
('P03CC0330001', 'M02BB0220', 'P', '001', 0.25),
('A05DD0510001', '900000002', 'I', '', 1),
('A05DD0510001', '100000003', 'I', '', 0.9);

-- Especificaciones (code + three blanks) and points per operator group.
insert into unidmed (codi_prod, codi_unid, desc_unid, prec_unid) values
('900000001', 'A01   ', 'Normal', 0),
('900000001', 'A01G01', 'Normal', 1.5),
('900000001', 'A01G02', 'Normal', 1.2),
('900000001', 'A02   ', 'Pieza compleja', 0),
('900000001', 'A02G01', 'Pieza compleja', 3),
('900000001', 'A02G02', 'Pieza compleja', 2.5),
('900000002', 'B01   ', 'Prensa hidráulica', 0),
('900000002', 'B01G01', 'Prensa hidráulica', 0.8),
('900000002', 'B01G03', 'Prensa hidráulica', 1),
('900000002', 'B02   ', 'Prensa de fricción', 0),
('900000002', 'B02G03', 'Prensa de fricción', 1.25),
('900000003', 'C01   ', 'Horno túnel', 0),
('900000003', 'C01G03', 'Horno túnel', 0.5),
('900000004', 'D01   ', 'Paletizado manual', 0),
('900000004', 'D01G01', 'Paletizado manual', 0.1),
('900000004', 'D01G02', 'Paletizado manual', 0.1),
('900000004', 'D01G03', 'Paletizado manual', 0.1);

insert into operario (codi_oper, nom_oper, codi_grupo, ope_activo, rut, digito_verif) values
(1, 'Pedro Muñoz Soto', 'G01', 1, '12345678', '5'),
(2, 'José O''Ryan Díaz', 'G01', 1, '9876543', '3'),
(3, 'Ana María Peña', 'G02', 1, '15111222', 'K'),
(4, 'Luis Araya Rojas', 'G03', 0, '8222333', '1'),
(5, 'Juan Francisco de la Barra Errázuriz', 'G03', 1, '10444555', '7'),
(6, 'Ñuble Cárcamo', 'G03', 1, '11222333', '9');

insert into procesos (codi_proceso, nombre_proceso, observaciones) values
('A', 'Prensado en seco', 'Prensa hidráulica o de fricción.'),
('B', 'Colado', ''),
('C', 'Extrusión', 'Sólo para piezas largas.');

insert into familias (codi_familia, codi_subfamilia, desc_familia, tipo_estado, tipo_formato,
                      codi_espejo, codi_espejo_insumos) values
('L', '00', 'Ladrillos', 'P', 'F', '', ''),
('L', '01', 'Ladrillos densos', 'P', 'F', '', ''),
('M', '00', 'Morteros', 'T', 'F', '', ''),
('M', '02', 'Morteros de fraguado al aire', 'T', 'F', '', ''),
('P', '00', 'Piezas especiales', 'P', 'M', 'L', '');

insert into familias_insumos (codi_familia, codi_subfamilia, codi_subsub_familia, desc_familia,
                              tipo_formato) values
('1', '0', '0', 'Materias primas', 'F');
